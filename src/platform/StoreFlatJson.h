#pragma once

#include <QByteArrayView>
#include <QString>
#include <QVarLengthArray>
#include <optional>

// Reads the compact JSON objects that the entry table keeps for dates, postal addresses, social
// profiles and instant-message addresses, straight from the UTF-8 bytes of the row: one level of
// members, each a string or a whole number. Going through QJsonDocument costs a UTF-16 copy, a
// UTF-8 copy back and a parsed document per entry, which was most of a load's entry reading.
//
// Anything else (nested values, literals, fractions, surrogate escapes, repeated names, trailing
// text) is refused, and the caller reads that text with QJsonDocument as before, so both paths
// give the same values for every text.
class StoreFlatJson
{
public:
    struct Member
    {
        QByteArrayView name;
        bool isNumber = false;
        QString text;
        int number = 0;
    };

    // The members in their order, or nothing when the text is not such an object. The names
    // point into the text, which must outlive the result.
    static std::optional<StoreFlatJson> parse(QByteArrayView utf8);

    // The member of that name; null when there is none.
    const Member *member(QStringView name) const;
    // The text of a string member; empty for a number or a missing member, as QJsonValue gives.
    QString text(QStringView name) const;
    // The value of a number member; none for a string or a missing member.
    std::optional<int> number(QStringView name) const;

private:
    bool hasMember(QByteArrayView name) const;

    QVarLengthArray<Member, 6> m_members;
};
