#include "panels/QRPayload.h"

#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "platform/Localizer.h"

#include <QRegularExpression>

#include <algorithm>

namespace {

const QString Phone = QStringLiteral("Phone");
const QString Email = QStringLiteral("Email");
const QString Address = QStringLiteral("Address");
const QString URL = QStringLiteral("URL");
const QString Company = QStringLiteral("Company");
const QString Department = QStringLiteral("Department");
const QString JobTitle = QStringLiteral("Job Title");
const QString CRLF = QStringLiteral("\r\n");

QString replaceLineBreaks(const QString &text, const QString &replacement)
{
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|[\r\n\u2028\u2029]"));
    QString result = text;
    return result.replace(lineBreak, replacement);
}

QString oneLine(const QString &text)
{
    return replaceLineBreaks(text, QStringLiteral(" "));
}

bool isSelected(const QList<QRSelectionRow> &rows, const QString &type)
{
    return std::any_of(rows.begin(), rows.end(),
                       [&](const QRSelectionRow &row) { return row.selected && row.type == type; });
}

// The carrier and URI formats take one value per kind: the last one ticked.
QString lastSelectedValue(const QList<QRSelectionRow> &rows, const QString &type)
{
    for (auto row = rows.crbegin(); row != rows.crend(); ++row) {
        if (row->selected && row->type == type)
            return row->value;
    }
    return QString();
}

struct ChosenValues
{
    QString tel;
    QString email;
    QString adr;
    QString url;
};

ChosenValues chosenValues(const QList<QRSelectionRow> &rows)
{
    return {lastSelectedValue(rows, Phone), lastSelectedValue(rows, Email),
            oneLine(lastSelectedValue(rows, Address)), lastSelectedValue(rows, URL)};
}

QString mecardPart(const QString &key, const QString &value)
{
    const QString escaped = QRPayload::escapeSemicolon(value);
    return escaped.isEmpty() ? QString() : key + QLatin1Char(':') + escaped + QLatin1Char(';');
}

QString mecard(const QRContactValues &contact, const ChosenValues &chosen)
{
    return QStringLiteral("MECARD:") + mecardPart(QStringLiteral("N"), contact.name) +
           mecardPart(QStringLiteral("SOUND"), contact.phonetic) +
           mecardPart(QStringLiteral("TEL"), chosen.tel) + mecardPart(QStringLiteral("EMAIL"), chosen.email) +
           mecardPart(QStringLiteral("ADR"), chosen.adr);
}

QString memoryPart(const QString &key, const QString &value)
{
    return value.isEmpty() ? QString() : key + QLatin1Char(':') + oneLine(value) + QLatin1Char('\n');
}

QString memory(const QRContactValues &contact, const ChosenValues &chosen, bool withAddress)
{
    QString text = QStringLiteral("MEMORY:\n") + memoryPart(QStringLiteral("NAME1"), contact.name) +
                   memoryPart(QStringLiteral("NAME2"), contact.phonetic) +
                   memoryPart(QStringLiteral("TEL1"), chosen.tel) +
                   memoryPart(QStringLiteral("MAIL1"), chosen.email);
    if (withAddress)
        text += memoryPart(QStringLiteral("ADD"), chosen.adr);
    return text;
}

// "TEL;type=work:" for a home or work label (kept as written), "TEL:" for any other.
QString vCardPropertyStart(const QString &property, const std::optional<QString> &label)
{
    const QString lower = label.value_or(QString()).toLower();
    if (lower == QLatin1String("home") || lower == QLatin1String("work"))
        return property + QStringLiteral(";type=") + *label + QLatin1Char(':');
    return property + QLatin1Char(':');
}

QString vCardLines(const QList<QRSelectionRow> &rows, const QString &type, const QString &property)
{
    QString lines;
    for (const QRSelectionRow &row : rows) {
        if (row.selected && row.type == type)
            lines += vCardPropertyStart(property, row.label) + oneLine(row.value) + CRLF;
    }
    return lines;
}

QString vCardAddressLines(const QList<QRSelectionRow> &rows)
{
    static const QStringList parts = {PersonKey::Street, PersonKey::City, PersonKey::State, PersonKey::ZIP,
                                      PersonKey::Country};
    QString lines;
    for (const QRSelectionRow &row : rows) {
        if (!row.selected || row.type != Address || !row.addressValue)
            continue;
        QStringList values;
        for (const QString &part : parts) {
            const QString text = oneLine(row.addressValue->value(part).toString())
                                     .replace(QLatin1Char('\t'), QLatin1Char(' '));
            values.append(QRPayload::escapeVCardText(text));
        }
        lines += vCardPropertyStart(QStringLiteral("ADR"), row.label) + QStringLiteral(";;") +
                 values.join(QLatin1Char(';')) + CRLF;
    }
    return lines;
}

QString vCardURLLines(const QList<QRSelectionRow> &rows)
{
    QString lines;
    for (const QRSelectionRow &row : rows) {
        if (row.selected && row.type == URL)
            lines += vCardPropertyStart(QStringLiteral("URL"), row.label) +
                     QRPayload::httpURL(oneLine(row.value)) + CRLF;
    }
    return lines;
}

QString vCardNameLines(const QRContactValues &contact)
{
    using QRPayload::escapeVCardText;
    QString lines = QStringLiteral("FN:") + escapeVCardText(contact.name) + CRLF;
    // A vCard 3.0 must have an N line, so every contact gets one.
    lines += QStringLiteral("N:") + escapeVCardText(contact.lastName) + QLatin1Char(';') +
             escapeVCardText(contact.firstName) + QStringLiteral(";;;") + CRLF;
    if (!contact.phoneticFirstName.value_or(QString()).isEmpty())
        lines +=
            QStringLiteral("X-PHONETIC-FIRST-NAME:") + escapeVCardText(*contact.phoneticFirstName) + CRLF;
    if (!contact.phoneticLastName.value_or(QString()).isEmpty())
        lines += QStringLiteral("X-PHONETIC-LAST-NAME:") + escapeVCardText(*contact.phoneticLastName) + CRLF;
    return lines;
}

QString vCardWorkLines(const QRContactValues &contact, const QList<QRSelectionRow> &rows)
{
    using QRPayload::escapeVCardText;
    QString lines;
    const QString company = isSelected(rows, Company) ? contact.company : QString();
    const QString department = isSelected(rows, Department) ? contact.department : QString();
    if (!company.isEmpty() || !department.isEmpty())
        lines += QStringLiteral("ORG:") + escapeVCardText(company) + QLatin1Char(';') +
                 escapeVCardText(department) + CRLF;
    if (isSelected(rows, JobTitle) && !contact.jobTitle.isEmpty())
        lines += QStringLiteral("TITLE:") + escapeVCardText(contact.jobTitle) + CRLF;
    return lines;
}

} // namespace

QRContactValues QRContactValues::fromPerson(QNPerson &person)
{
    QRContactValues values;
    values.name = person.compositeName();
    const QNPerson::NameDict name = person.nameValue();
    values.firstName = name.value(PersonKey::FirstName).toString();
    values.lastName = name.value(PersonKey::LastName).toString();
    if (const auto phonetic = person.phoneticNameValue()) {
        values.phoneticFirstName = phonetic->value(PersonKey::FirstName).toString();
        values.phoneticLastName = phonetic->value(PersonKey::LastName).toString();
        values.phonetic = phonetic->value(PersonKey::StringValue).toString();
    }
    values.company = person.stringValueForIdentifier(Company);
    values.department = person.stringValueForIdentifier(Department);
    values.jobTitle = person.stringValueForIdentifier(JobTitle);
    return values;
}

namespace QRPayload {

QList<QRFormat> allFormats()
{
    return {QRFormat::Docomo, QRFormat::Au,  QRFormat::SoftBank, QRFormat::Phone,
            QRFormat::Email,  QRFormat::URL, QRFormat::VCard};
}

QString title(QRFormat format)
{
    switch (format) {
    case QRFormat::Docomo:
        return QStringLiteral("docomo");
    case QRFormat::Au:
        return QStringLiteral("au");
    case QRFormat::SoftBank:
        return QStringLiteral("SoftBank");
    case QRFormat::Phone:
        return L(Phone);
    case QRFormat::Email:
        return L(Email);
    case QRFormat::URL:
        return QStringLiteral("URL");
    case QRFormat::VCard:
        return QStringLiteral("vCard");
    }
    return QString();
}

bool formatUsesKind(QRFormat format, const QString &type)
{
    switch (format) {
    case QRFormat::Docomo:
    case QRFormat::Au:
    case QRFormat::SoftBank:
        return type == Phone || type == Email || type == Address;
    case QRFormat::Phone:
        return type == Phone;
    case QRFormat::Email:
        return type == Email;
    case QRFormat::URL:
        return type == URL;
    case QRFormat::VCard:
        return true;
    }
    return false;
}

QString payload(QRFormat format, const QRContactValues &contact, const QList<QRSelectionRow> &rows)
{
    const ChosenValues chosen = chosenValues(rows);
    switch (format) {
    case QRFormat::Docomo:
        return mecard(contact, chosen);
    case QRFormat::Au:
        return memory(contact, chosen, true);
    case QRFormat::SoftBank:
        return memory(contact, chosen, false);
    case QRFormat::Phone:
        return QStringLiteral("tel:") + oneLine(chosen.tel);
    case QRFormat::Email:
        return QStringLiteral("mailto:") + oneLine(chosen.email);
    case QRFormat::URL:
        return chosen.url.isEmpty() ? QStringLiteral("http:") : httpURL(oneLine(chosen.url));
    case QRFormat::VCard:
        return vCardFromContact(contact, rows);
    }
    return QString();
}

QString vCardFromContact(const QRContactValues &contact, const QList<QRSelectionRow> &rows)
{
    return QStringLiteral("BEGIN:VCARD\r\nVERSION:3.0\r\n") + vCardNameLines(contact) +
           vCardLines(rows, Email, QStringLiteral("EMAIL")) + vCardLines(rows, Phone, QStringLiteral("TEL")) +
           vCardAddressLines(rows) + vCardURLLines(rows) + vCardWorkLines(contact, rows) +
           QStringLiteral("END:VCARD\r\n");
}

QString escapeSemicolon(const QString &text)
{
    QString escaped = oneLine(text);
    escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    return escaped.replace(QLatin1Char(';'), QStringLiteral("\\;"));
}

QString escapeVCardText(const QString &text)
{
    QString escaped = text;
    escaped.replace(QLatin1Char('\\'), QStringLiteral("\\\\"));
    escaped.replace(QLatin1Char(';'), QStringLiteral("\\;"));
    escaped.replace(QLatin1Char(','), QStringLiteral("\\,"));
    return replaceLineBreaks(escaped, QStringLiteral("\\n"));
}

QString httpURL(const QString &url)
{
    if (url.startsWith(QLatin1String("http://"), Qt::CaseInsensitive) ||
        url.startsWith(QLatin1String("https://"), Qt::CaseInsensitive))
        return url;
    return QStringLiteral("http://") + url;
}

} // namespace QRPayload
