#include "model/QNvCard.h"

#include "model/QNPersonKeys.h"
#include "platform/StoreLabels.h"

namespace {

const QString Home = QStringLiteral("home");
const QString Work = QStringLiteral("work");
const QString Other = QStringLiteral("other");
const QString Address = QStringLiteral("Address");
const QString SocialNetwork = QStringLiteral("Social Network");

QString quoted(const QString &text)
{
    QString inner = text;
    inner.replace(QLatin1Char('"'), QLatin1String("\"\""));
    return QLatin1Char('"') + inner + QLatin1Char('"');
}

bool holdsAny(const QString &text, QLatin1StringView characters)
{
    for (const QChar c : text) {
        if (characters.contains(c))
            return true;
    }
    return false;
}

// Tabs and line feeds as the two characters \t and \n, so that a cell stays on its line.
QString escapedControls(const QString &text)
{
    if (!holdsAny(text, QLatin1StringView("\t\n")))
        return text;
    QString escaped = text;
    escaped.replace(QLatin1Char('\t'), QLatin1String("\\t"));
    escaped.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    return escaped;
}

QString nameCell(QNPerson &person, const QString &part)
{
    if (!part.isEmpty())
        return person.namePart(part);
    // The display name without its "No Name" stand-in: an empty name is an empty cell.
    if (person.showAsPerson())
        return person.nameStringValue();
    return person.stringValueForIdentifier(PersonIdentifier::Company);
}

QString labeledCell(const std::optional<QNPerson::LabeledValueDict> &entry, const QString &askedLabel,
                    bool shouldLocalize)
{
    if (!entry)
        return QString();
    const QString text = entry->value(PersonKey::StringValue).toString();
    const QString label = entry->value(PersonKey::Label).toString();
    if (label.isEmpty() || text.isEmpty())
        return QString();
    // The stored word is compared: the display form depends on the user's language.
    if (!askedLabel.isEmpty())
        return label == askedLabel ? text : QString();
    QString shown = label;
    if (shouldLocalize) {
        const QString display = QNPerson::localizedLabelFromCNLabel(QNPerson::CNLabelFromLabel(label));
        if (!display.isEmpty())
            shown = display;
    }
    return shown + QLatin1Char(':') + text;
}

QString addressPartCell(QNPerson &person, const QString &part, const QString &askedLabel, qsizetype position)
{
    const std::optional<QNPerson::AddressDict> entry =
        person.labeledValueForIdentifierAtIndex(Address, position);
    if (!entry)
        return QString();
    const QString label = entry->value(PersonKey::Label).toString();
    const QString text = entry->value(part).toString();
    if (label.isEmpty() || text.isEmpty() || (!askedLabel.isEmpty() && askedLabel != label))
        return QString();
    return text;
}

} // namespace

const QList<QNvCard::CsvColumn> &QNvCard::csvColumns()
{
    static const QList<CsvColumn> columns{
        {QStringLiteral("Name"), QStringLiteral("Name"), {}},
        {QStringLiteral("Home Phone"), QStringLiteral("Phone"), Home},
        {QStringLiteral("Work Phone"), QStringLiteral("Phone"), Work},
        {QStringLiteral("Other Phone"), QStringLiteral("Phone"), Other},
        {QStringLiteral("Home Email"), QStringLiteral("Email"), Home},
        {QStringLiteral("Work Email"), QStringLiteral("Email"), Work},
        {QStringLiteral("Other Email"), QStringLiteral("Email"), Other},
        {QStringLiteral("Home ZIP"), PersonKey::ZIP, Home},
        {QStringLiteral("Home State"), PersonKey::State, Home},
        {QStringLiteral("Home City"), PersonKey::City, Home},
        {QStringLiteral("Home Street"), PersonKey::Street, Home},
        {QStringLiteral("Work ZIP"), PersonKey::ZIP, Work},
        {QStringLiteral("Work State"), PersonKey::State, Work},
        {QStringLiteral("Work City"), PersonKey::City, Work},
        {QStringLiteral("Work Street"), PersonKey::Street, Work},
        {QStringLiteral("Other ZIP"), PersonKey::ZIP, Other},
        {QStringLiteral("Other State"), PersonKey::State, Other},
        {QStringLiteral("Other City"), PersonKey::City, Other},
        {QStringLiteral("Other Street"), PersonKey::Street, Other},
        {QStringLiteral("Birthday"), QStringLiteral("Birthday"), {}},
        {QStringLiteral("Title"), QStringLiteral("Title"), {}},
        {QStringLiteral("Company"), QStringLiteral("Company"), {}},
        {QStringLiteral("Department"), QStringLiteral("Department"), {}},
        {QStringLiteral("Job Title"), QStringLiteral("Job Title"), {}},
        {QStringLiteral("First Name"), QStringLiteral("Name"), PersonKey::FirstName},
        {QStringLiteral("Last Name"), QStringLiteral("Name"), PersonKey::LastName},
        {QStringLiteral("Nickname"), QStringLiteral("Nickname"), {}},
        {QStringLiteral("Note"), QStringLiteral("Note"), {}},
        {QStringLiteral("Facebook"), SocialNetwork, StoreSocialService::Facebook},
        {QStringLiteral("LinkedIn"), SocialNetwork, StoreSocialService::LinkedIn},
        {QStringLiteral("Flickr"), SocialNetwork, StoreSocialService::Flickr},
        {QStringLiteral("SinaWeibo"), SocialNetwork, StoreSocialService::SinaWeibo},
    };
    return columns;
}

QString QNvCard::csvCellText(const QString &identifier, const QString &label, qsizetype index,
                             QNPerson &person, bool shouldLocalize) const
{
    if (identifier == PersonIdentifier::Name)
        return nameCell(person, label);
    if (identifier == PersonIdentifier::PhoneticName) {
        const std::optional<QNPerson::PhoneticNameDict> phonetic = person.phoneticNameValue();
        return phonetic ? phonetic->value(PersonKey::StringValue).toString() : QString();
    }
    if (QNPerson::labeledKindForIdentifier(identifier))
        return labeledCell(person.labeledValueForIdentifierAtIndex(identifier, index), label, shouldLocalize);
    if (QNPerson::addressIdentifiers().contains(identifier))
        return addressPartCell(person, identifier, label, index);
    if (identifier == PersonIdentifier::Birthday)
        return person.stringValueForIdentifier(identifier);
    const QString type = person.typeForIdentifier(identifier);
    if (type == PersonValueType::Labeled)
        return labeledCell(person.labeledValueForIdentifierAtIndex(identifier, index), label, shouldLocalize);
    if (type == PersonValueType::String)
        return person.stringValueForIdentifier(identifier);
    return QString();
}

QString QNvCard::stringForIdentifier(const QString &identifier, const QString &label, qsizetype index,
                                     QNPerson &person, bool shouldLocalize) const
{
    const QString text = csvCellText(identifier, label, index, person, shouldLocalize);
    return text.contains(QLatin1Char(' ')) ? quoted(text) : text;
}

QString QNvCard::csvFromSubContacts(const QList<CsvRow> &rows) const
{
    const QList<CsvColumn> &columns = csvColumns();
    QString csv;
    for (const CsvColumn &column : columns)
        csv += column.fieldName + QLatin1Char(',');
    csv.chop(1);
    csv += QLatin1Char('\n');
    for (const CsvRow &row : rows) {
        for (const CsvColumn &column : columns) {
            if (row.person) {
                const QString text = escapedControls(
                    csvCellText(column.type, column.label, row.labelIndex, *row.person, true));
                // Quoted once, for every character that a reader could take for a separator.
                csv += holdsAny(text, QLatin1StringView(",\"\r\n ")) ? quoted(text) : text;
            }
            csv += QLatin1Char(',');
        }
        csv.chop(1);
        csv += QLatin1Char('\n');
    }
    return csv;
}

QString QNvCard::csvStringFromContact(const CsvRow &row, const QStringList &identifiers,
                                      const QString &separator, bool shouldLocalize) const
{
    QString line;
    for (const QString &identifier : identifiers) {
        if (row.person) {
            const QString text = escapedControls(
                csvCellText(identifier, QString(), row.labelIndex, *row.person, shouldLocalize));
            const bool quote = text.contains(QLatin1Char(' ')) || text.contains(QLatin1Char('"')) ||
                               (!separator.isEmpty() && text.contains(separator));
            line += quote ? quoted(text) : text;
        }
        line += separator;
    }
    if (line.size() > separator.size())
        line.chop(separator.size());
    return line;
}
