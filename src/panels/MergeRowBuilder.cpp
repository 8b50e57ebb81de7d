#include "panels/MergeRowBuilder.h"

#include "addressbook/CustomItemDefinitions.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "platform/Localizer.h"

#include <QRegularExpression>

namespace {

const QStringList FixedRowOrder = {
    QStringLiteral("Photo"),        QStringLiteral("Name"),           QStringLiteral("Name Ordering"),
    QStringLiteral("Name Display"), QStringLiteral("Company"),        QStringLiteral("Phonetic Name"),
    QStringLiteral("Email"),        QStringLiteral("Instant Message"), QStringLiteral("Social Network"),
    QStringLiteral("URL"),          QStringLiteral("Phone"),          QStringLiteral("Address"),
    QStringLiteral("Nickname"),     QStringLiteral("Birthday"),       QStringLiteral("Relationship"),
    QStringLiteral("Suffix"),       QStringLiteral("Title"),          QStringLiteral("Department"),
    QStringLiteral("Job Title"),    QStringLiteral("Dates"),          QStringLiteral("Note")};

const QStringList NameParts = {PersonKey::FirstName, PersonKey::MiddleName, PersonKey::LastName,
                               PersonKey::PreviousFamilyName};
const QStringList PhoneticParts = {PersonKey::FirstName, PersonKey::MiddleName, PersonKey::LastName};

MergeRow makeRow(const QString &type, const std::optional<QString> &label = std::nullopt, bool emptyValue = false)
{
    MergeRow row;
    row.type = type;
    row.label = label;
    row.emptyValue = emptyValue;
    return row;
}

int textLines(const QString &text)
{
    static const QRegularExpression newline(QStringLiteral(R"(\r\n|[\n\r\x{85}\x{2028}\x{2029}])"));
    return std::max<int>(int(text.split(newline).size()), 1);
}

} // namespace

void MergeRowBuilder::setNameOrderingLabelsFor(QNPerson &left)
{
    m_nameOrderingLabels = QNPerson::labelsForIdentifier(PersonIdentifier::NameOrdering).value_or(QStringList());
    if (m_nameOrderingLabels.isEmpty())
        m_nameOrderingLabels.append(QString());
    // Kept as keys; the cells show them localized.
    m_nameOrderingLabels[0] = left.defaultNameOrdering() == 2
                                  ? QStringLiteral("System Default (Last Name First)")
                                  : QStringLiteral("System Default (First Name First)");
}

QStringList MergeRowBuilder::rowOrder() const
{
    QStringList order = FixedRowOrder;
    for (const QVariant &item : m_customItems)
        order.append(item.toMap().value(PersonKey::ItemName).toString());
    return order;
}

QString MergeRowBuilder::valueType(const QNPerson &person, const QString &identifier) const
{
    return CustomItemDefinitions::valueType(person, identifier, m_customItems);
}

QHash<QString, qsizetype> MergeRowBuilder::labeledValueCount(QNPerson &left, QNPerson &right)
{
    QHash<QString, qsizetype> counts;
    for (QNPerson *person : {&left, &right}) {
        for (const QString &identifier : QNPerson::labeledIdentifiers() + person->customIdentifiers()) {
            if (person->typeForIdentifier(identifier) != PersonValueType::Labeled)
                continue;
            const qsizetype count = std::max<qsizetype>(person->valueForIdentifier(identifier).toList().size(), 1);
            if (counts.value(identifier, 0) < count)
                counts.insert(identifier, count);
        }
    }
    return counts;
}

MergeRowTable MergeRowBuilder::tableFromContact(QNPerson &person,
                                                const QHash<QString, qsizetype> &labeledValueCount) const
{
    MergeRowTable rows;
    for (const QString &identifier : rowOrder()) {
        if (identifier == PersonIdentifier::Name) {
            appendNameRows(rows, identifier, NameParts);
        } else if (identifier == PersonIdentifier::PhoneticName) {
            appendNameRows(rows, identifier, PhoneticParts);
        } else if (identifier == PersonIdentifier::NameOrdering) {
            rows.append(nameOrderingRow(person));
        } else if (identifier == PersonIdentifier::NameDisplay) {
            rows.append(nameDisplayRow(person));
        } else if (identifier == PersonIdentifier::Photo) {
            rows.append(makeRow(identifier, QString(), true));
        } else if (valueType(person, identifier) == PersonValueType::Labeled) {
            // A custom list this person lacks is an empty list: its filler rows keep the sides
            // aligned with the other person's entries.
            appendLabeledRows(rows, identifier, person.valueForIdentifier(identifier).toList(),
                              labeledValueCount.value(identifier, 0));
        } else {
            const QVariant value = person.valueForIdentifier(identifier);
            if (!value.isValid() || value.isNull())
                rows.append(makeRow(identifier, QString(), true));
            else if (value.typeId() == QMetaType::QVariantMap)
                rows.append(makeRow(identifier, value.toMap().value(PersonKey::Label).toString()));
            else
                rows.append(makeRow(identifier));
        }
    }
    return rows;
}

void MergeRowBuilder::appendNameRows(MergeRowTable &rows, const QString &type, const QStringList &parts) const
{
    for (const QString &part : parts)
        rows.append(makeRow(type, part));
}

void MergeRowBuilder::appendLabeledRows(MergeRowTable &rows, const QString &type, const QVariantList &entries,
                                        qsizetype budget) const
{
    const qsizetype count = entries.size();
    qsizetype index = 0;
    for (; index < count; ++index) {
        const QVariantMap entry = entries.at(index).toMap();
        // The label tables are the grid's and the pane's too, so the sheet only reads them: a
        // label they lack (the "No label" placeholder above all) is shown as the popup's title.
        MergeRow row = makeRow(type, entry.value(PersonKey::Label).toString());
        row.labelIndex = entry.value(PersonKey::LabelIndex).toLongLong();
        row.index = index;
        row.valueCount = count - index;
        rows.append(row);
    }
    for (; index < std::max<qsizetype>(budget, 1); ++index) {
        MergeRow filler = makeRow(type, QString());
        filler.labelIndex = -1;
        filler.index = index;
        filler.valueCount = count - index;
        rows.append(filler);
    }
}

MergeRow MergeRowBuilder::nameOrderingRow(QNPerson &person) const
{
    const int ordering = person.nameValue().value(PersonKey::NameOrdering).toInt();
    QString title = m_nameOrderingLabels.value(0);
    if (ordering == 1)
        title = QStringLiteral("First Name First");
    else if (ordering == 2)
        title = QStringLiteral("Last Name First");
    return makeRow(PersonIdentifier::NameOrdering, L(title));
}

MergeRow MergeRowBuilder::nameDisplayRow(QNPerson &person) const
{
    const bool showAsPerson = person.nameValue().value(PersonKey::ShowAsPerson, true).toBool();
    return makeRow(PersonIdentifier::NameDisplay,
                   L(showAsPerson ? QStringLiteral("Person") : QStringLiteral("Company")));
}

int MergeRowBuilder::numberOfLines(const MergeRow &row, QNPerson &person) const
{
    if (row.type == PersonIdentifier::Photo)
        return 2;
    if (row.type == PersonIdentifier::Name || row.type == PersonIdentifier::PhoneticName ||
        row.type == PersonIdentifier::NameOrdering)
        return 1;
    if (valueType(person, row.type) == PersonValueType::String)
        return textLines(person.stringValueForIdentifier(row.type));
    return 1;
}
