#include "model/QNvCard.h"

#include "model/QNPersonKeys.h"
#include "platform/StoreLabels.h"

#include <QDate>
#include <QRegularExpression>

#include <functional>

namespace {

const QString NameKey = QStringLiteral("Name");
const QString FirstNameType = QStringLiteral("FirstName");
const QString LastNameType = QStringLiteral("LastName");
const QString AddressKey = QStringLiteral("Address");
const QString SocialNetworkKey = QStringLiteral("Social Network");
const QString BirthdayKey = QStringLiteral("Birthday");
const QString CompanyKey = QStringLiteral("Company");
const QString UnknownType = QStringLiteral("Unknown");

// Identifiers moved from an import row into its record, in this order.
const QStringList &applyList()
{
    static const QStringList identifiers{QStringLiteral("Name"),           QStringLiteral("Phonetic Name"),
                                         QStringLiteral("Email"),          QStringLiteral("Instant Message"),
                                         QStringLiteral("Social Network"), QStringLiteral("URL"),
                                         QStringLiteral("Phone"),          QStringLiteral("Address"),
                                         QStringLiteral("Nickname"),       QStringLiteral("Birthday"),
                                         QStringLiteral("Relationship"),   QStringLiteral("Suffix"),
                                         QStringLiteral("Title"),          QStringLiteral("Company"),
                                         QStringLiteral("Department"),     QStringLiteral("Job Title"),
                                         QStringLiteral("Dates"),          QStringLiteral("Note")};
    return identifiers;
}

// Header words to column types, first match wins.
const QList<std::pair<QString, QString>> &typeTests()
{
    static const QList<std::pair<QString, QString>> tests{
        {QStringLiteral("First Name"), FirstNameType},
        {QStringLiteral("Last Name"), LastNameType},
        {QStringLiteral("Nickname"), QStringLiteral("Nickname")},
        {QStringLiteral("Name"), NameKey},
        {QStringLiteral("Phone"), QStringLiteral("Phone")},
        {QStringLiteral("Email"), QStringLiteral("Email")},
        {QStringLiteral("ZIP"), AddressKey},
        {QStringLiteral("State"), AddressKey},
        {QStringLiteral("City"), AddressKey},
        {QStringLiteral("Street"), AddressKey},
        {QStringLiteral("Birthday"), BirthdayKey},
        {QStringLiteral("Job Title"), QStringLiteral("Job Title")},
        {QStringLiteral("Title"), QStringLiteral("Title")},
        {QStringLiteral("Company"), CompanyKey},
        {QStringLiteral("Department"), QStringLiteral("Department")},
        {QStringLiteral("Note"), QStringLiteral("Note")},
        {QStringLiteral("Facebook"), QStringLiteral("Facebook")},
        {QStringLiteral("LinkedIn"), QStringLiteral("LinkedIn")},
        {QStringLiteral("Flickr"), QStringLiteral("Flickr")},
        {QStringLiteral("SinaWeibo"), QStringLiteral("SinaWeibo")},
    };
    return tests;
}

// The same service words as the export's columns, so that an exported file reads back.
const QHash<QString, QString> &socialServices()
{
    static const QHash<QString, QString> services{
        {QStringLiteral("Facebook"), StoreSocialService::Facebook},
        {QStringLiteral("LinkedIn"), StoreSocialService::LinkedIn},
        {QStringLiteral("Flickr"), StoreSocialService::Flickr},
        {QStringLiteral("SinaWeibo"), StoreSocialService::SinaWeibo},
    };
    return services;
}

const QStringList &plainTypes()
{
    static const QStringList types{NameKey,
                                   FirstNameType,
                                   LastNameType,
                                   BirthdayKey,
                                   QStringLiteral("Title"),
                                   CompanyKey,
                                   QStringLiteral("Department"),
                                   QStringLiteral("Job Title"),
                                   QStringLiteral("Nickname"),
                                   QStringLiteral("Note")};
    return types;
}

const QStringList &stringKeys()
{
    static const QStringList keys{CompanyKey,
                                  QStringLiteral("Title"),
                                  QStringLiteral("Job Title"),
                                  QStringLiteral("Department"),
                                  QStringLiteral("Nickname"),
                                  QStringLiteral("Note")};
    return keys;
}

bool holds(const QString &text, const QString &word)
{
    return text.contains(word, Qt::CaseInsensitive);
}

// Splits CSV text into records. A field that starts with a double quote runs to its closing
// quote: "" inside stands for one quote, and commas and line breaks (as LF) belong to the field.
// A quote left open takes the rest of its line. Records end at CR, LF or CR LF.
class CsvTokenizer
{
public:
    explicit CsvTokenizer(const QString &text) : m_text(text) {}

    // The next record's fields and the length of its text; false at the end.
    bool next(QStringList &fields, qsizetype &length)
    {
        fields.clear();
        if (m_position >= m_text.size())
            return false;
        const qsizetype start = m_position;
        bool more = true;
        while (more)
            fields.append(field(more));
        length = m_recordEnd - start;
        return true;
    }

private:
    bool isLineBreak(qsizetype i) const
    {
        return m_text.at(i) == QLatin1Char('\n') || m_text.at(i) == QLatin1Char('\r');
    }

    // Ends the record at a line break (CR LF as one) or the end of the text.
    void endRecord()
    {
        m_recordEnd = m_position;
        if (m_position < m_text.size() && m_text.at(m_position) == QLatin1Char('\r'))
            ++m_position;
        if (m_position < m_text.size() && m_text.at(m_position) == QLatin1Char('\n') &&
            (m_position == m_recordEnd || m_text.at(m_position - 1) == QLatin1Char('\r')))
            ++m_position;
    }

    // The field at the current position; more is false when it ends the record.
    QString field(bool &more)
    {
        QString value;
        if (m_position < m_text.size() && m_text.at(m_position) == QLatin1Char('"'))
            value = quotedPart();
        while (m_position < m_text.size() && m_text.at(m_position) != QLatin1Char(',') &&
               !isLineBreak(m_position))
            value += m_text.at(m_position++);
        more = m_position < m_text.size() && m_text.at(m_position) == QLatin1Char(',');
        if (more)
            ++m_position;
        else
            endRecord();
        return value;
    }

    QString quotedPart()
    {
        const qsizetype open = m_position;
        QString value;
        qsizetype from = open + 1;
        for (;;) {
            const qsizetype close = m_text.indexOf(QLatin1Char('"'), from);
            if (close < 0)
                return unclosedPart(open);
            value += QStringView(m_text).sliced(from, close - from);
            if (close + 1 < m_text.size() && m_text.at(close + 1) == QLatin1Char('"')) {
                value += QLatin1Char('"');
                from = close + 2;
                continue;
            }
            m_position = close + 1;
            return withLineFeeds(value);
        }
    }

    // Line breaks inside a field as the records keep them.
    static QString withLineFeeds(QString value)
    {
        if (value.contains(QLatin1Char('\r'))) {
            value.replace(QLatin1String("\r\n"), QLatin1String("\n"));
            value.replace(QLatin1Char('\r'), QLatin1Char('\n'));
        }
        return value;
    }

    QString unclosedPart(qsizetype open)
    {
        qsizetype end = open + 1;
        while (end < m_text.size() && !isLineBreak(end))
            ++end;
        m_position = end;
        return m_text.sliced(open + 1, end - open - 1);
    }

    const QString &m_text;
    qsizetype m_position = 0;
    qsizetype m_recordEnd = 0;
};

QNvCard::CsvColumn columnForHeader(const QNvCard &reader, const QString &header)
{
    const QString type = reader.detectType(header);
    if (plainTypes().contains(type))
        return {header, type, {}};
    if (type == QLatin1String("Phone") || type == QLatin1String("Email"))
        return {header, type, reader.detectLabel(header)};
    if (type == AddressKey)
        return {header, reader.detectAddressType(header), reader.detectLabel(header)};
    if (socialServices().contains(type))
        return {header, SocialNetworkKey, socialServices().value(type)};
    return {header, UnknownType, {}};
}

// "yyyy.MM.dd", with a weekday after a blank or in parentheses; "-" and "/" also separate. A
// birthday without a year is shown "MM.dd", and was shown with the year 0001 before.
std::optional<QVariantMap> birthdayComponents(const QString &text)
{
    static const QRegularExpression pattern(
        QStringLiteral(R"(^\s*(?:(\d{1,4})[./-])?(\d{1,2})[./-](\d{1,2})(?:\s*\([^)]*\)|\s+\S+)?\s*$)"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        return std::nullopt;
    const int year = match.captured(1).toInt();
    const int month = match.captured(2).toInt();
    const int day = match.captured(3).toInt();
    if (!QDate(year > 1 ? year : 2000, month, day).isValid())
        return std::nullopt;
    QVariantMap components{{PersonKey::Month, month}, {PersonKey::Day, day}};
    if (year > 1)
        components.insert(PersonKey::Year, year);
    return components;
}

// Sets the entry of that label in one of the row's lists, appending it with the next number when
// the list has none.
void setListValue(QVariantMap &row, const QString &key, const QString &label,
                  const std::function<void(QVariantMap &)> &set)
{
    QVariantList list = row.value(key).toList();
    qsizetype position = 0;
    while (position < list.size() && list.at(position).toMap().value(PersonKey::Label).toString() != label)
        ++position;
    const bool found = position < list.size();
    QVariantMap entry = found ? list.at(position).toMap()
                              : QVariantMap{{PersonKey::Label, label},
                                            {PersonKey::LabelIndex, static_cast<int>(list.size())}};
    set(entry);
    if (found)
        list[position] = entry;
    else
        list.append(entry);
    row.insert(key, list);
}

// A name column alone gives the name: a company's when it repeats the company, else the first
// name. A name without "showAsPerson" is a person's.
void finishName(QVariantMap &row)
{
    if (!row.contains(NameKey))
        return;
    QVariantMap name = row.value(NameKey).toMap();
    const QString text = name.take(NameKey).toString();
    if (!name.contains(PersonKey::ShowAsPerson))
        name.insert(PersonKey::ShowAsPerson, true);
    const bool noParts = name.value(PersonKey::FirstName).toString().isEmpty() &&
                         name.value(PersonKey::LastName).toString().isEmpty();
    if (noParts && !text.isEmpty()) {
        if (text.trimmed() == row.value(CompanyKey).toString().trimmed())
            name.insert(PersonKey::ShowAsPerson, false);
        else
            name.insert(PersonKey::FirstName, text);
    }
    row.insert(NameKey, name);
}

ContactRowPtr importedRow(QVariantMap &values)
{
    finishName(values);
    auto person = std::make_shared<QNPerson>();
    for (const QString &identifier : applyList()) {
        if (values.contains(identifier))
            person->setValue(values.take(identifier), identifier);
    }
    auto row = std::make_shared<ContactRow>();
    row->person = person;
    row->uniqueId = person->uniqueId();
    return row;
}

} // namespace

std::optional<ContactTable> QNvCard::contactsFromCSV(const QString &text) const
{
    if (text.isEmpty())
        return std::nullopt;
    CsvTokenizer tokenizer(text);
    QStringList fields;
    qsizetype length = 0;
    ContactTable rows;
    // The first line only names the columns, in our own layout ("Name" first) or any other.
    if (!tokenizer.next(fields, length))
        return rows;
    QList<CsvColumn> columns;
    for (const QString &header : std::as_const(fields))
        columns.append(columnForHeader(*this, header));
    while (tokenizer.next(fields, length)) {
        if (length < 2)
            continue;
        QVariantMap values;
        const qsizetype count = std::min(fields.size(), columns.size());
        for (qsizetype i = 0; i < count; ++i)
            createContact(values, fields.at(i), columns.at(i).type, columns.at(i).label);
        rows.append(importedRow(values));
    }
    return rows;
}

QString QNvCard::detectType(const QString &header) const
{
    for (const auto &[word, type] : typeTests()) {
        if (holds(header, word))
            return type;
    }
    return QStringLiteral("");
}

QString QNvCard::detectLabel(const QString &header) const
{
    if (holds(header, QStringLiteral("Home")))
        return QStringLiteral("home");
    if (holds(header, QStringLiteral("Work")) || holds(header, QStringLiteral("Business")))
        return QStringLiteral("work");
    if (holds(header, QStringLiteral("Mobile")))
        return QStringLiteral("mobile");
    return QStringLiteral("other");
}

QString QNvCard::detectAddressType(const QString &header) const
{
    for (const QString &part : {PersonKey::ZIP, PersonKey::State, PersonKey::City}) {
        if (holds(header, part))
            return part;
    }
    return PersonKey::Street;
}

// Entries are normalised when they reach the record, which does it once for the whole list.
void QNvCard::createContact(QVariantMap &row, const QString &value, const QString &key,
                            const QString &label) const
{
    if (value.isEmpty())
        return;
    if (key == NameKey || key == FirstNameType || key == LastNameType) {
        QVariantMap name = row.value(NameKey).toMap();
        if (key == NameKey) {
            name.insert(NameKey, value);
            name.insert(PersonKey::StringValue, value);
            name.insert(PersonKey::ShowAsPerson, true);
        } else {
            name.insert(key, value);
            if (!name.contains(PersonKey::StringValue))
                name.insert(PersonKey::StringValue, value);
        }
        row.insert(NameKey, name);
    } else if (stringKeys().contains(key)) {
        row.insert(key, value);
    } else if (QNPerson::addressIdentifiers().contains(key)) {
        setListValue(row, AddressKey, label, [&](QVariantMap &entry) { entry.insert(key, value); });
    } else if (key == QLatin1String("Phone") || key == QLatin1String("Email")) {
        setListValue(row, key, label, [&](QVariantMap &entry) {
            entry.insert(PersonKey::Value, value);
            entry.insert(PersonKey::StringValue, value);
        });
    } else if (key == SocialNetworkKey) {
        setListValue(row, key, label, [&](QVariantMap &entry) { entry.insert(PersonKey::Value, value); });
    } else if (key == BirthdayKey) {
        QVariantMap birthday{{PersonKey::StringValue, value}};
        if (const std::optional<QVariantMap> components = birthdayComponents(value))
            birthday.insert(PersonKey::Value, *components);
        row.insert(key, birthday);
    }
}
