#pragma once

#include <QList>
#include <QString>

// One line of the calling-code table. Only firstDigit and number take part in the lookup.
struct CountryNumberRow
{
    QString firstDigit;
    QString number;
    QString country;
    QString countryName; // "国名"
    QString areaName;    // "エリア名"
};

// Re-lays one telephone number in one of six fixed groupings: punctuation is stripped, an
// extension is kept behind the number and a leading "+" with a known calling code is kept in front.
// Make one per command, then for each number call setPhoneNumber() and one layout operation.
class NormalizePhoneNumber
{
public:
    // With the calling codes of the ":/CountryNumbers" resource.
    NormalizePhoneNumber();
    // With the given table (tests, or a table read elsewhere).
    explicit NormalizePhoneNumber(QList<CountryNumberRow> countryNumbers);

    // The rows of a calling-code CSV text: the first line is a header; a line with other than four
    // fields gives an empty row, which never matches.
    static QList<CountryNumberRow> arrayFromCountryNumbersString(const QString &text);
    // The resource's table, read once per process; empty when the resource cannot be read.
    static const QList<CountryNumberRow> &bundledCountryNumbers();

    void setPhoneNumber(const QString &text);
    QString phoneNumber() const { return m_phoneNumber; }
    // Sorted by calling code, so a code comes before the longer codes it begins.
    const QList<CountryNumberRow> &countryNumbers() const { return m_countryNumbers; }

    QString fourPlusFour() const;
    QString twoPlusFour() const;
    QString quadTwo() const;
    QString threePlusFour() const;
    QString hyphenThreeFour() const;
    QString hyphenFourThreeThree() const;

    // The calling code at the start of a "+" text, or "" when none (a code must leave a digit after it).
    QString countryNumber(const QString &text) const;

    static QString removeHyphenAndParenthesis(const QString &text);
    static QString normalizeExtension(const QString &text);

private:
    struct GroupingRule
    {
        int minimumLength;
        QList<int> tailGroups; // the head group takes whatever is left
        const char *format;
    };

    QString layout(const QList<GroupingRule> &rules) const;
    static QString group(const QString &digits, const QList<GroupingRule> &rules);

    QString m_phoneNumber;
    QList<CountryNumberRow> m_countryNumbers;
};
