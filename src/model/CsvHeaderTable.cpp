#include "model/CsvHeaderTable.h"

#include "model/QNPersonKeys.h"
#include "platform/StoreLabels.h"

#include <QList>
#include <QRegularExpression>

namespace CsvHeaderTable {
namespace {

// How a column's cells join the entries of a list.
enum class Entry
{
    None,       // not a list
    Own,        // every cell an entry of its own ("Home Phone 2")
    SameLabel,  // the columns of one label build one entry ("Home Street", "Home City")
    SameNumber, // the columns of one number build one entry ("Phone 1 - Type", "Phone 1 - Value")
};

struct Form
{
    QRegularExpression pattern;
    QString kind;
    QString part;
    // Empty: taken from the words of the pattern's group "label".
    QString label;
    Entry entry = Entry::None;
};

Form form(const QString &pattern, const QString &kind, const QString &part = {}, const QString &label = {},
          Entry entry = Entry::None)
{
    return {QRegularExpression(QRegularExpression::anchoredPattern(pattern),
                               QRegularExpression::CaseInsensitiveOption),
            kind, part, label, entry};
}

// A value column of a list: the label from its fixed word or from the header's words.
Form entry(const QString &pattern, const QString &kind, const QString &label = {})
{
    return form(pattern, kind, ValuePart, label, Entry::Own);
}

// An address part of the entry of the header's label; without a label word, "other".
Form addressPart(const QString &pattern, const QString &part)
{
    return form(QStringLiteral(R"((?:(?<label>home|business|work|other)\s*)?(?:)") + pattern +
                    QStringLiteral(")"),
                QStringLiteral("Address"), part, {}, Entry::SameLabel);
}

// A column of the numbered pairs of web address books: "Phone 1 - Type", "Address 2 - City".
Form numbered(const QString &series, const QString &column, const QString &kind, const QString &part)
{
    return form(series + QStringLiteral(R"(\s*(?<n>\d+)\s*-\s*(?:)") + column + QStringLiteral(")"), kind,
                part, {}, Entry::SameNumber);
}

const QString Type = QStringLiteral("type|label");
const QString Value = QStringLiteral("value");

// First match wins. Headers that hold a known word but name something else ("E-mail Display
// Name", "Assistant's Name", "Organization 1 - Title") are matched whole, never by the word.
const QList<Form> &forms()
{
    static const QList<Form> table{
        // Names. A company's name is the company, not the person's.
        form(QStringLiteral(R"((?:(?:display|full|contact)\s*)?name)"), QStringLiteral("Name")),
        form(QStringLiteral(R"((?:first|given)(?:\s*name)?)"), QStringLiteral("Name"), PersonKey::FirstName),
        form(QStringLiteral(R"((?:middle|additional)(?:\s*name)?)"), QStringLiteral("Name"), PersonKey::MiddleName),
        form(QStringLiteral(R"((?:last|family)(?:\s*name)?|surname)"), QStringLiteral("Name"), PersonKey::LastName),
        form(QStringLiteral(R"(maiden\s*name)"), QStringLiteral("Name"), PersonKey::PreviousFamilyName),
        form(QStringLiteral(R"(phonetic\s*(?:first|given)\s*name|(?:first|given)\s*name\s*yomi)"),
             PersonIdentifier::PhoneticName, PersonKey::FirstName),
        form(QStringLiteral(R"(phonetic\s*middle\s*name|(?:middle|additional)\s*name\s*yomi)"),
             PersonIdentifier::PhoneticName, PersonKey::MiddleName),
        form(QStringLiteral(R"(phonetic\s*(?:last|family)\s*name|(?:last|family)\s*name\s*yomi)"),
             PersonIdentifier::PhoneticName, PersonKey::LastName),
        form(QStringLiteral(R"((?:name\s*)?prefix|title)"), QStringLiteral("Title")),
        form(QStringLiteral(R"((?:name\s*)?suffix)"), QStringLiteral("Suffix")),
        form(QStringLiteral(R"(nick\s*name)"), QStringLiteral("Nickname")),
        form(QStringLiteral(R"(company(?:\s*name)?|organi[sz]ation(?:\s*(?:1\s*-\s*)?name)?)"),
             QStringLiteral("Company")),
        form(QStringLiteral(R"(job\s*title|organi[sz]ation\s*(?:1\s*-\s*)?title)"), QStringLiteral("Job Title")),
        form(QStringLiteral(R"((?:organi[sz]ation\s*(?:1\s*-\s*)?)?department)"), QStringLiteral("Department")),
        form(QStringLiteral(R"(birthday|birth\s*date|date\s*of\s*birth)"), QStringLiteral("Birthday")),
        form(QStringLiteral(R"(birth\s+year)"), QStringLiteral("Birthday"), PersonKey::Year),
        form(QStringLiteral(R"(birth\s+month)"), QStringLiteral("Birthday"), PersonKey::Month),
        form(QStringLiteral(R"(birth\s+day)"), QStringLiteral("Birthday"), PersonKey::Day),
        form(QStringLiteral(R"(notes?|comments?)"), QStringLiteral("Note")),
        entry(QStringLiteral("facebook"), QStringLiteral("Social Network"), StoreSocialService::Facebook),
        entry(QStringLiteral("linkedin"), QStringLiteral("Social Network"), StoreSocialService::LinkedIn),
        entry(QStringLiteral("flickr"), QStringLiteral("Social Network"), StoreSocialService::Flickr),
        entry(QStringLiteral(R"(sina\s*weibo)"), QStringLiteral("Social Network"), StoreSocialService::SinaWeibo),

        // Numbered pairs.
        numbered(QStringLiteral("phone"), Type, QStringLiteral("Phone"), LabelPart),
        numbered(QStringLiteral("phone"), Value, QStringLiteral("Phone"), ValuePart),
        numbered(QStringLiteral("e-?mail"), Type, QStringLiteral("Email"), LabelPart),
        numbered(QStringLiteral("e-?mail"), Value, QStringLiteral("Email"), ValuePart),
        numbered(QStringLiteral("website"), Type, QStringLiteral("URL"), LabelPart),
        numbered(QStringLiteral("website"), Value, QStringLiteral("URL"), ValuePart),
        numbered(QStringLiteral("relation"), Type, QStringLiteral("Relationship"), LabelPart),
        numbered(QStringLiteral("relation"), Value, QStringLiteral("Relationship"), ValuePart),
        numbered(QStringLiteral("address"), Type, QStringLiteral("Address"), LabelPart),
        numbered(QStringLiteral("address"), QStringLiteral("street|po\\s*box|extended\\s*address"),
                 QStringLiteral("Address"), PersonKey::Street),
        numbered(QStringLiteral("address"), QStringLiteral("city"), QStringLiteral("Address"), PersonKey::City),
        numbered(QStringLiteral("address"), QStringLiteral("region"), QStringLiteral("Address"), PersonKey::State),
        numbered(QStringLiteral("address"), QStringLiteral(R"(postal\s*code)"), QStringLiteral("Address"),
                 PersonKey::ZIP),
        numbered(QStringLiteral("address"), QStringLiteral("country"), QStringLiteral("Address"),
                 PersonKey::Country),

        // Phones, e-mail addresses and web pages, one entry per column.
        entry(QStringLiteral(R"(home\s*fax)"), QStringLiteral("Phone"), QStringLiteral("home fax")),
        entry(QStringLiteral(R"((?:business|work)\s*fax)"), QStringLiteral("Phone"), QStringLiteral("work fax")),
        entry(QStringLiteral(R"((?:other\s*)?fax(?:\s*number)?)"), QStringLiteral("Phone"), QStringLiteral("other fax")),
        entry(QStringLiteral(R"(pager(?:\s*number)?)"), QStringLiteral("Phone"), QStringLiteral("pager")),
        entry(QStringLiteral(R"((?:company\s*)?main\s*phone|primary\s*phone)"), QStringLiteral("Phone"),
              QStringLiteral("main")),
        entry(QStringLiteral(R"((?:mobile|cell(?:ular)?)(?:\s*(?:phone|number))?(?:\s*\d+)?)"),
              QStringLiteral("Phone"), QStringLiteral("mobile")),
        entry(QStringLiteral(R"((?<label>[^-]*?)\s*(?:tele)?phone(?:\s*number)?(?:\s*\d+)?|callback|isdn|telex)"),
              QStringLiteral("Phone")),
        entry(QStringLiteral(R"((?<label>[^-]*?)\s*e-?mail(?:\s*\d+)?(?:\s*address)?(?:\s*\d+)?)"),
              QStringLiteral("Email")),
        entry(QStringLiteral(R"((?<label>[^-]*?)\s*(?:web\s*(?:page|site)|url|home\s*page)(?:\s*\d+)?)"),
              QStringLiteral("URL")),
        entry(QStringLiteral("spouse"), QStringLiteral("Relationship"), QStringLiteral("spouse")),
        entry(QStringLiteral("partner"), QStringLiteral("Relationship"), QStringLiteral("partner")),
        entry(QStringLiteral(R"(child(?:ren)?)"), QStringLiteral("Relationship"), QStringLiteral("child")),
        entry(QStringLiteral(R"(manager(?:['’]s)?(?:\s*name)?)"), QStringLiteral("Relationship"),
              QStringLiteral("manager")),
        entry(QStringLiteral(R"(assistant(?:['’]s)?(?:\s*name)?)"), QStringLiteral("Relationship"),
              QStringLiteral("assistant")),

        // Addresses, one entry per label; further street columns are further lines of it.
        addressPart(QStringLiteral(R"((?:zip|postal)(?:\s*code)?)"), PersonKey::ZIP),
        addressPart(QStringLiteral("state|region|province"), PersonKey::State),
        addressPart(QStringLiteral("city|town"), PersonKey::City),
        addressPart(QStringLiteral("country(?:/region)?"), PersonKey::Country),
        addressPart(QStringLiteral(R"((?:street|address)(?:\s*\d+)?|(?:address\s*)?p\.?\s*o\.?\s*box)"),
                    PersonKey::Street),
    };
    return table;
}

// The label that the words of a header give: "Home" home, "Work" or "Business" work, "Mobile"
// mobile, anything else other.
QString labelFromWords(const QString &words)
{
    if (words.contains(QLatin1String("home"), Qt::CaseInsensitive))
        return QStringLiteral("home");
    if (words.contains(QLatin1String("work"), Qt::CaseInsensitive) ||
        words.contains(QLatin1String("business"), Qt::CaseInsensitive))
        return QStringLiteral("work");
    if (words.contains(QLatin1String("mobile"), Qt::CaseInsensitive))
        return QStringLiteral("mobile");
    return QStringLiteral("other");
}

QString entryKey(const Form &form, const QString &label, const QRegularExpressionMatch &match)
{
    switch (form.entry) {
    case Entry::SameLabel:
        return form.kind + QLatin1Char(' ') + label;
    case Entry::SameNumber:
        return form.kind + QLatin1String(" #") + QString::number(match.captured(u"n").toInt());
    default:
        return QString();
    }
}

} // namespace

Column columnForHeader(const QString &header)
{
    const QString text = header.trimmed();
    for (const Form &form : forms()) {
        const QRegularExpressionMatch match = form.pattern.match(text);
        if (!match.hasMatch())
            continue;
        Column column{form.kind, form.part, form.label, {}, form.entry == Entry::SameNumber};
        if (form.entry != Entry::None && column.label.isEmpty())
            column.label = labelFromWords(match.captured(u"label"));
        column.entryKey = entryKey(form, column.label, match);
        return column;
    }
    return {};
}

} // namespace CsvHeaderTable
