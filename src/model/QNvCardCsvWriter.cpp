#include "model/QNvCard.h"

#include "model/CellEscapes.h"
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

// Backslashes doubled, and tabs and line breaks written as \t, \n and \r: a cell stays on its
// line and reads back exactly. A text without any of them is written as it stands.
QString escapedText(const QString &text)
{
    if (std::none_of(text.begin(), text.end(), [](QChar c) { return !cellEscapeLetter(c).isNull(); }))
        return text;
    QString escaped;
    escaped.reserve(text.size() + 8);
    for (const QChar c : text) {
        const QChar letter = cellEscapeLetter(c);
        if (!letter.isNull())
            escaped += QLatin1Char('\\');
        escaped += letter.isNull() ? c : letter;
    }
    return escaped;
}

// The text of a cell; a labelled value asked without a label also has the entry's label, written
// before the text and a colon.
struct CellText
{
    QString label;
    QString text;

    QString plain() const { return label.isEmpty() ? text : label + QLatin1Char(':') + text; }
    // The label's own colons are escaped as well, so that the first bare colon ends it.
    QString escaped() const
    {
        if (label.isEmpty())
            return escapedText(text);
        QString shown = escapedText(label);
        shown.replace(QLatin1Char(':'), QLatin1String("\\:"));
        return shown + QLatin1Char(':') + escapedText(text);
    }
};

QString nameCell(QNPerson &person, const QString &part)
{
    if (!part.isEmpty())
        return person.namePart(part);
    // The display name without its "No Name" stand-in: an empty name is an empty cell.
    if (person.showAsPerson())
        return person.nameStringValue();
    return person.stringValueForIdentifier(PersonIdentifier::Company);
}

CellText labeledCell(const std::optional<QNPerson::LabeledText> &entry, const QString &askedLabel,
                     bool shouldLocalize)
{
    if (!entry)
        return {};
    const QString &text = entry->text;
    const QString &label = entry->label;
    if (label.isEmpty() || text.isEmpty())
        return {};
    // The stored word is compared: the display form depends on the user's language.
    if (!askedLabel.isEmpty())
        return {QString(), label == askedLabel ? text : QString()};
    QString shown = label;
    if (shouldLocalize) {
        const QString display = QNPerson::localizedLabelFromCNLabel(QNPerson::CNLabelFromLabel(label));
        if (!display.isEmpty())
            shown = display;
    }
    return {shown, text};
}

// The lists of one record, each read once however many cells of the row show its entries: an
// unedited record reads a list afresh at every ask.
class RecordLists
{
public:
    explicit RecordLists(QNPerson &person) : m_person(person) {}

    QNPerson &person() { return m_person; }
    std::optional<QVariantMap> entryAt(const QString &identifier, qsizetype position)
    {
        auto list = m_lists.constFind(identifier);
        if (list == m_lists.constEnd())
            list = m_lists.insert(identifier, m_person.labeledValueForIdentifier(identifier));
        if (position < 0 || position >= list->size())
            return std::nullopt;
        return list->at(position).toMap();
    }

    // The label and text of an entry, without a dictionary where the record gives texts alone.
    std::optional<QNPerson::LabeledText> textAt(const QString &identifier, qsizetype position)
    {
        if (const std::optional<QNPerson::LabeledKind> kind =
                QNPerson::labeledKindForIdentifier(identifier)) {
            auto texts = m_texts.constFind(identifier);
            if (texts == m_texts.constEnd())
                texts = m_texts.insert(identifier, m_person.unreadLabeledTexts(*kind));
            if (*texts) {
                if (position < 0 || position >= (*texts)->size())
                    return std::nullopt;
                return (*texts)->at(position);
            }
        }
        const std::optional<QVariantMap> entry = entryAt(identifier, position);
        if (!entry)
            return std::nullopt;
        return QNPerson::LabeledText{entry->value(PersonKey::Label).toString(),
                                     entry->value(PersonKey::StringValue).toString()};
    }

private:
    QNPerson &m_person;
    QHash<QString, QVariantList> m_lists;
    QHash<QString, std::optional<QList<QNPerson::LabeledText>>> m_texts;
};

QString addressPartCell(RecordLists &lists, const QString &part, const QString &askedLabel,
                        qsizetype position)
{
    const std::optional<QNPerson::AddressDict> entry = lists.entryAt(Address, position);
    if (!entry)
        return QString();
    const QString label = entry->value(PersonKey::Label).toString();
    const QString text = entry->value(part).toString();
    if (label.isEmpty() || text.isEmpty() || (!askedLabel.isEmpty() && askedLabel != label))
        return QString();
    return text;
}

CellText csvCellText(const QString &identifier, const QString &label, qsizetype index, RecordLists &lists,
                     bool shouldLocalize)
{
    QNPerson &person = lists.person();
    if (identifier == PersonIdentifier::Name)
        return {QString(), nameCell(person, label)};
    if (identifier == PersonIdentifier::PhoneticName) {
        const std::optional<QNPerson::PhoneticNameDict> phonetic = person.phoneticNameValue();
        return {QString(), phonetic ? phonetic->value(PersonKey::StringValue).toString() : QString()};
    }
    if (QNPerson::labeledKindForIdentifier(identifier))
        return labeledCell(lists.textAt(identifier, index), label, shouldLocalize);
    if (QNPerson::addressIdentifiers().contains(identifier))
        return {QString(), addressPartCell(lists, identifier, label, index)};
    if (identifier == PersonIdentifier::Birthday)
        return {QString(), person.stringValueForIdentifier(identifier)};
    const QString type = person.typeForIdentifier(identifier);
    if (type == PersonValueType::Labeled)
        return labeledCell(lists.textAt(identifier, index), label, shouldLocalize);
    if (type == PersonValueType::String)
        return {QString(), person.stringValueForIdentifier(identifier)};
    return {};
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

QString QNvCard::stringForIdentifier(const QString &identifier, const QString &label, qsizetype index,
                                     QNPerson &person, bool shouldLocalize) const
{
    RecordLists lists(person);
    const QString text = csvCellText(identifier, label, index, lists, shouldLocalize).plain();
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
        std::optional<RecordLists> lists;
        if (row.person)
            lists.emplace(*row.person);
        for (const CsvColumn &column : columns) {
            if (lists) {
                const QString text =
                    csvCellText(column.type, column.label, row.labelIndex, *lists, true).escaped();
                // Quoted once, for every character that a reader could take for a separator.
                csv += holdsAny(text, QLatin1StringView(",\" ")) ? quoted(text) : text;
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
    std::optional<RecordLists> lists;
    if (row.person)
        lists.emplace(*row.person);
    for (const QString &identifier : identifiers) {
        if (lists) {
            const QString text =
                csvCellText(identifier, QString(), row.labelIndex, *lists, shouldLocalize).escaped();
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
