#include "grid/GridTextParser.h"

#include "addressbook/DetailFieldOrder.h"
#include "model/CsvDateText.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "model/QNvCard.h"
#include "model/StrayControls.h"
#include "platform/StoreContact.h"
#include "platform/StoreLabels.h"

#include <QHash>
#include <QRegularExpression>

#include <optional>

namespace {

const QString AddressIdentifier = QStringLiteral("Address");
const QString DatesIdentifier = QStringLiteral("Dates");
const QLatin1Char Quote('"');

// A labelled value made from a field without a label: its label and, for accounts, the service.
struct LabeledForm
{
    QString label;
    QString service;
};

const QHash<QString, LabeledForm> &labeledForms()
{
    static const QHash<QString, LabeledForm> forms{
        {QStringLiteral("Phone"), {QStringLiteral("home"), {}}},
        {QStringLiteral("Email"), {QStringLiteral("home"), {}}},
        {QStringLiteral("URL"), {QNPerson::labelFromCNLabel(StoreLabel::URLAddressHomePage), {}}},
        {QStringLiteral("Relationship"), {QStringLiteral("partner"), {}}},
        // The label of a social profile is its service.
        {QStringLiteral("Social Network"), {StoreSocialService::Twitter, StoreSocialService::Twitter}},
        {QStringLiteral("Instant Message"), {QStringLiteral("home"), QStringLiteral("AIM")}},
        {AddressIdentifier, {QStringLiteral("home"), {}}},
        {DatesIdentifier, {QStringLiteral("other"), {}}},
    };
    return forms;
}

enum class FieldKind
{
    None,
    Name,
    PhoneticName,
    Labeled,
    Address,
    AddressPart,
    Dates,
    Birthday,
    Text,
};

// The type of the custom item of that name; a new record holds no custom items of its own yet.
QString customItemType(const QString &name)
{
    for (const QVariant &item : QNPerson::customItems().value_or(QVariantList())) {
        const QVariantMap definition = item.toMap();
        if (definition.value(PersonKey::ItemName).toString() == name)
            return definition.value(PersonKey::ItemType).toString();
    }
    return {};
}

// What a field under the identifier becomes; custom items by their type.
FieldKind fieldKind(const QNPerson &person, const QString &identifier)
{
    if (identifier == PersonIdentifier::Name)
        return FieldKind::Name;
    if (identifier == PersonIdentifier::PhoneticName)
        return FieldKind::PhoneticName;
    if (identifier == AddressIdentifier)
        return FieldKind::Address;
    if (identifier == DatesIdentifier)
        return FieldKind::Dates;
    if (identifier == PersonIdentifier::Birthday)
        return FieldKind::Birthday;
    if (QNPerson::addressIdentifiers().contains(identifier))
        return FieldKind::AddressPart;
    QString type = person.typeForIdentifier(identifier);
    if (type.isEmpty())
        type = customItemType(identifier);
    if (type == PersonValueType::Labeled)
        return FieldKind::Labeled;
    if (type == PersonValueType::String)
        return FieldKind::Text;
    return FieldKind::None;
}

// A labelled field as Copy writes it: the label in its display form, a colon and the text.
struct LabeledText
{
    QString label;
    QString text;
};

// The label and text before and after a field's first colon; our own Copy escapes the colons of
// its labels.
std::optional<LabeledText> splitAtLabel(const QString &field, bool fromCopy)
{
    if (fromCopy) {
        if (const std::optional<QNvCard::LabeledCell> cell = QNvCard::labeledCell(field))
            return LabeledText{cell->label, cell->text};
        return std::nullopt;
    }
    const qsizetype colon = field.indexOf(QLatin1Char(':'));
    if (colon < 0)
        return std::nullopt;
    return LabeledText{field.left(colon), field.mid(colon + 1)};
}

// Other text counts as labelled only when it starts with one of the field's labels ("http://..."
// is no label); our own Copy labels every value, also with labels this program does not offer.
std::optional<LabeledText> labeledText(const QString &identifier, const QString &field, bool fromCopy)
{
    const std::optional<LabeledText> split = splitAtLabel(field, fromCopy);
    if (!split || split->label.isEmpty())
        return std::nullopt;
    for (const QString &label : QNPerson::labelsForIdentifier(identifier).value_or(QStringList())) {
        if (split->label == label ||
            split->label == QNPerson::localizedLabelFromCNLabel(QNPerson::CNLabelFromLabel(label)))
            return LabeledText{label, split->text};
    }
    if (fromCopy)
        return split;
    return std::nullopt;
}

LabeledText labeledField(const QString &identifier, const QString &field, bool fromCopy)
{
    if (std::optional<LabeledText> labeled = labeledText(identifier, field, fromCopy))
        return *labeled;
    QString label = labeledForms().value(identifier).label;
    if (label.isEmpty())
        label = QNPerson::labelsForIdentifier(identifier).value_or(QStringList()).value(0);
    return {label, fromCopy ? QNvCard::unescapedCell(field) : field};
}

// The date components of a date as the grid shows it ("2001.02.03(Sat)") or as other programs
// write it; empty when the text is no date.
QVariantMap dateOf(const QString &text)
{
    return CsvDateText::read(text, CsvDateText::Order::MonthFirst).components;
}

bool storeLabeled(QNPerson &person, const QString &identifier, const QString &field, bool fromCopy)
{
    const LabeledText labeled = labeledField(identifier, field, fromCopy);
    QVariantMap entry{{PersonKey::Label, labeled.label}, {PersonKey::LabelIndex, -1}};
    if (identifier == AddressIdentifier) {
        // The address's parts are not told apart in its text: all of it stands as the street.
        entry.insert(PersonKey::Street, labeled.text);
    } else if (identifier == DatesIdentifier) {
        const QVariantMap date = dateOf(labeled.text);
        if (date.isEmpty())
            return false;
        entry.insert(PersonKey::Value, date);
    } else {
        entry.insert(PersonKey::Value, labeled.text);
        entry.insert(QStringLiteral("type"), identifier);
        const QString service = labeledForms().value(identifier).service;
        if (!service.isEmpty())
            entry.insert(StoreValueKey::Service, service);
    }
    person.addLabeledValue(entry, identifier);
    return true;
}

bool storeBirthday(QNPerson &person, const QString &field)
{
    const QVariantMap date = dateOf(field);
    if (date.isEmpty())
        return false;
    person.setValue(QVariantMap{{PersonKey::StringValue, field}, {PersonKey::Value, date}},
                    PersonIdentifier::Birthday);
    return true;
}

// Stores the field's value; false when it holds none the identifier takes. A field of our own
// Copy is still escaped: a label is told from its text before the escapes are undone.
bool storeField(QNPerson &person, QVariantMap &address, FieldKind kind, const QString &identifier,
                const QString &written, bool fromCopy)
{
    const QString field = fromCopy ? QNvCard::unescapedCell(written) : written;
    switch (kind) {
    case FieldKind::Name:
        person.setValue(QVariantMap{{PersonKey::LastName, field},
                                    {PersonKey::ShowAsPerson, true},
                                    {PersonKey::NameOrdering, 0}},
                        identifier);
        return true;
    case FieldKind::PhoneticName:
        person.setValue(QVariantMap{{PersonKey::LastName, field}}, identifier);
        return true;
    case FieldKind::Labeled:
    case FieldKind::Address:
    case FieldKind::Dates:
        return storeLabeled(person, identifier, written, fromCopy);
    case FieldKind::AddressPart:
        address.insert(identifier, field);
        return true;
    case FieldKind::Birthday:
        return storeBirthday(person, field);
    case FieldKind::Text:
        person.setValue(field, identifier);
        return true;
    case FieldKind::None:
        break;
    }
    return false;
}

// Reads the fields of one line from left to right.
class FieldReader
{
public:
    FieldReader(const QString &line, const QString &separator) : m_line(line), m_separator(separator) {}

    bool atEnd() const { return m_position > m_line.size(); }

    QString next()
    {
        QString field = quotedField();
        const qsizetype start = m_position;
        qsizetype end = m_separator.isEmpty() ? -1 : m_line.indexOf(m_separator, start);
        if (end < 0)
            end = m_line.size();
        field += QStringView(m_line).sliced(start, end - start);
        m_position = end + (m_separator.isEmpty() ? 1 : m_separator.size());
        return field;
    }

private:
    // A field that opens with a double quote (after blanks, which Copy as CSV puts after each
    // comma) runs to its closing quote, "" standing for one quote; an unclosed quote is text.
    QString quotedField()
    {
        qsizetype open = m_position;
        while (open < m_line.size() && m_line.at(open) == QLatin1Char(' '))
            ++open;
        if (open >= m_line.size() || m_line.at(open) != Quote)
            return {};
        QString text;
        qsizetype from = open + 1;
        for (;;) {
            const qsizetype close = m_line.indexOf(Quote, from);
            if (close < 0)
                return {};
            text += QStringView(m_line).sliced(from, close - from);
            if (close + 1 < m_line.size() && m_line.at(close + 1) == Quote) {
                text += Quote;
                from = close + 2;
                continue;
            }
            m_position = close + 1;
            return text;
        }
    }

    const QString &m_line;
    const QString m_separator;
    qsizetype m_position = 0;
};

} // namespace

QStringList GridTextParser::pasteIdentifiers(const QStringList &tableIdentifiers, UserDefaults &defaults)
{
    if (tableIdentifiers.size() != 1)
        return tableIdentifiers;
    return DetailFieldOrder::saved(defaults).value_or(DetailFieldOrder::defaultOrder());
}

bool GridTextParser::isTooLargeForContacts(const QString &text)
{
    if (text.size() > MaxCharacters)
        return true;
    // CR LF, CR and LF each end a line.
    qsizetype breaks = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const bool followedByLineFeed = i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n');
        if (c == QLatin1Char('\n') || (c == QLatin1Char('\r') && !followedByLineFeed))
            ++breaks;
    }
    const bool endsWithBreak = text.endsWith(QLatin1Char('\n')) || text.endsWith(QLatin1Char('\r'));
    return breaks + (endsWithBreak ? 0 : 1) > MaxLines;
}

bool GridTextParser::isVCard(const QString &text)
{
    static const QRegularExpression firstLine(QStringLiteral(R"re(^\s*(BEGIN:VCARD)\s*$)re"),
                                              QRegularExpression::CaseInsensitiveOption |
                                                  QRegularExpression::MultilineOption);
    const QRegularExpressionMatch match = firstLine.match(text);
    return match.hasMatch() && text.left(match.capturedStart(1)).trimmed().isEmpty();
}

QStringList GridTextParser::fieldsOfLine(const QString &line, bool fromCopy, qsizetype maxFields)
{
    QString separator;
    if (line.contains(QLatin1Char('\t')))
        separator = QStringLiteral("\t");
    else if (line.contains(QLatin1Char(',')))
        // Copy as CSV puts a blank after each comma, and quotes every field that holds a blank.
        separator = fromCopy ? QStringLiteral(", ") : QStringLiteral(",");
    FieldReader reader(line, separator);
    QStringList fields;
    while (!reader.atEnd() && fields.size() < maxFields)
        fields.append(reader.next());
    return fields;
}

QList<ContactRowPtr> GridTextParser::contactsFromString(const QString &text, const QStringList &identifiers,
                                                        bool fromCopy)
{
    QList<ContactRowPtr> rows;
    static const QRegularExpression lineBreak(QStringLiteral("\r\n|\r|\n"));
    for (const QString &line : text.split(lineBreak)) {
        if (ContactRowPtr row = contactFromString(line, identifiers, fromCopy))
            rows.append(row);
    }
    return rows;
}

ContactRowPtr GridTextParser::contactFromString(const QString &line, const QStringList &identifiers,
                                                bool fromCopy)
{
    if (line.isEmpty())
        return nullptr;
    const QStringList fields = fieldsOfLine(StrayControls::removed(line), fromCopy, identifiers.size());
    auto person = std::make_shared<QNPerson>();
    QVariantMap address{{PersonKey::Label, QStringLiteral("home")}};
    bool stored = false;
    qsizetype cursor = 0;
    for (const QString &identifier : identifiers) {
        if (cursor >= fields.size())
            break;
        const FieldKind kind = fieldKind(*person, identifier);
        // Copy wrote a field for every identifier, also for those that hold no text.
        if (kind == FieldKind::None && !fromCopy)
            continue;
        const QString field = fields.at(cursor++);
        if (!field.isEmpty())
            stored = storeField(*person, address, kind, identifier, field, fromCopy) || stored;
    }
    if (!stored)
        return nullptr;
    if (address.size() > 1)
        person->addLabeledValue(address, AddressIdentifier);
    person->setCreated(true);
    auto row = std::make_shared<ContactRow>();
    row->person = person;
    row->uniqueId = person->uniqueId();
    row->isNew = true;
    return row;
}
