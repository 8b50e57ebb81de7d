#include "detail/DetailRowBuilder.h"

#include "addressbook/CustomItemDefinitions.h"
#include "addressbook/DefaultsKey.h"
#include "addressbook/DetailFieldOrder.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "platform/Localizer.h"
#include "platform/UserDefaults.h"

namespace {

const QStringList NameParts{PersonKey::FirstName, PersonKey::MiddleName, PersonKey::LastName,
                            PersonKey::PreviousFamilyName};
const QStringList PhoneticParts{PersonKey::FirstName, PersonKey::MiddleName, PersonKey::LastName};

DetailRowPtr makeRow(const QString &type, int position)
{
    auto row = std::make_shared<DetailRow>();
    row->type = type;
    row->rowOrderIndex = position;
    return row;
}

void appendPartRows(DetailRowTable &rows, const QString &type, const QStringList &parts, int position)
{
    for (int i = 0; i < parts.size(); ++i) {
        DetailRowPtr row = makeRow(type, position);
        row->label = parts.at(i);
        row->labelIndex = i;
        rows.append(row);
    }
}

int lineCount(const QString &text)
{
    const qsizetype lines = text.split(QLatin1Char('\n')).size();
    return lines < 2 ? 1 : int(lines);
}

} // namespace

DetailRowBuilder::DetailRowBuilder(UserDefaults &defaults) : m_defaults(defaults) {}

QStringList DetailRowBuilder::defaultRowOrder()
{
    return DetailFieldOrder::defaultOrder();
}

QStringList DetailRowBuilder::customItemNames() const
{
    QStringList names;
    for (const QVariant &item : m_customItems)
        names.append(item.toMap().value(PersonKey::ItemName).toString());
    return names;
}

void DetailRowBuilder::prepareRowOrder()
{
    const QStringList customNames = customItemNames();
    if (!m_rowOrderTable) {
        const QVariant saved = m_defaults.objectForKey(DefaultsKey::LastRowOrder);
        if (saved.typeId() == QMetaType::QVariantList || saved.typeId() == QMetaType::QStringList) {
            m_rowOrderTable = saved.toStringList();
            return;
        }
        QStringList order = defaultRowOrder();
        for (const QString &name : customNames) {
            if (!order.contains(name))
                order.append(name);
        }
        m_rowOrderTable = order;
        return;
    }
    for (const QString &name : customNames) {
        if (!m_rowOrderTable->contains(name))
            m_rowOrderTable->append(name);
    }
    // A custom item named like a built-in field hides both: neither could be told apart.
    const QStringList builtIn = defaultRowOrder();
    m_rowOrderTable->removeIf([&](const QString &identifier) {
        return builtIn.contains(identifier) && customNames.contains(identifier);
    });
}

QString DetailRowBuilder::valueTypeForIdentifier(QNPerson *person, const QString &identifier) const
{
    return person ? CustomItemDefinitions::valueType(*person, identifier, m_customItems) : QString();
}

DetailRowTable DetailRowBuilder::tableFromContact(const ContactRowPtr &contact, const QStringList &)
{
    DetailRowTable rows;
    if (!contact)
        return rows;
    prepareRowOrder();
    QNPerson *person = contact->person.get();
    const QStringList order = *m_rowOrderTable;
    // A custom item deleted since keeps its place in the order, in case it comes back, but no row.
    const QStringList fields = defaultRowOrder() + customItemNames();
    for (int position = 0; position < order.size(); ++position) {
        if (fields.contains(order.at(position)))
            appendRows(rows, order.at(position), position, person);
    }
    return rows;
}

void DetailRowBuilder::appendRows(DetailRowTable &rows, const QString &identifier, int position,
                                  QNPerson *person)
{
    if (identifier == PersonIdentifier::Name) {
        appendPartRows(rows, identifier, NameParts, position);
        return;
    }
    if (identifier == PersonIdentifier::PhoneticName) {
        appendPartRows(rows, identifier, PhoneticParts, position);
        return;
    }
    if (identifier == PersonIdentifier::Photo || identifier == PersonIdentifier::Groups) {
        DetailRowPtr row = makeRow(identifier, position);
        row->label = QStringLiteral("");
        row->value = QStringLiteral("");
        rows.append(row);
        return;
    }
    if (identifier == PersonIdentifier::NameOrdering) {
        appendNameOrderingRow(rows, position, person);
        return;
    }
    if (identifier == PersonIdentifier::NameDisplay) {
        const bool showAsPerson =
            person ? person->nameValue().value(PersonKey::ShowAsPerson, true).toBool() : true;
        DetailRowPtr row = makeRow(identifier, position);
        row->label = showAsPerson ? L(QStringLiteral("Person")) : L(QStringLiteral("Company"));
        rows.append(row);
        return;
    }

    const QVariant value = person ? person->valueForIdentifier(identifier) : QVariant();
    DetailRowPtr row = makeRow(identifier, position);
    switch (value.typeId()) {
    case QMetaType::UnknownType:
        row->label = QStringLiteral("");
        rows.append(row);
        return;
    case QMetaType::QVariantList: {
        const QVariantList entries = value.toList();
        if (entries.isEmpty()) {
            row->label = QStringLiteral("");
            rows.append(row);
            return;
        }
        for (int i = 0; i < entries.size(); ++i) {
            const QVariantMap entry = entries.at(i).toMap();
            DetailRowPtr entryRow = makeRow(identifier, position);
            entryRow->label = entry.value(PersonKey::Label).toString();
            entryRow->labelIndex = entry.value(PersonKey::LabelIndex).toInt();
            entryRow->index = i;
            rows.append(entryRow);
        }
        return;
    }
    case QMetaType::QVariantMap:
        row->label = value.toMap().value(PersonKey::Label).toString();
        rows.append(row);
        return;
    case QMetaType::QString:
        rows.append(row);
        return;
    default:
        return;
    }
}

void DetailRowBuilder::appendNameOrderingRow(DetailRowTable &rows, int position, QNPerson *person)
{
    m_nameOrderingLabels =
        QNPerson::labelsForIdentifier(PersonIdentifier::NameOrdering).value_or(QStringList());
    if (!m_nameOrderingLabels.isEmpty()) {
        const bool firstNameFirst = person && person->defaultNameOrdering() == 1;
        m_nameOrderingLabels[0] = firstNameFirst ? QStringLiteral("System Default (First Name First)")
                                                 : QStringLiteral("System Default (Last Name First)");
    }
    const int ordering = person ? person->nameValue().value(PersonKey::NameOrdering).toInt() : 0;
    QString title;
    if (ordering == 1)
        title = QStringLiteral("First Name First");
    else if (ordering == 2)
        title = QStringLiteral("Last Name First");
    else
        title = m_nameOrderingLabels.value(0, QStringLiteral("System Default"));
    DetailRowPtr row = makeRow(PersonIdentifier::NameOrdering, position);
    row->label = L(title);
    rows.append(row);
}

int DetailRowBuilder::numberOfLines(DetailRow &row, QNPerson *person, int iconRowCount) const
{
    int lines = 1;
    const QString &type = row.type;
    if (type == PersonIdentifier::Photo) {
        lines = iconRowCount;
    } else if (type != PersonIdentifier::Name && type != PersonIdentifier::PhoneticName &&
               type != PersonIdentifier::NameOrdering && type != PersonIdentifier::Groups && person) {
        const QString kind = valueTypeForIdentifier(person, type);
        if (kind == PersonValueType::Labeled) {
            const auto entry =
                person->labeledValueForIdentifierAtLabelIndex(type, row.labelIndex.value_or(0));
            lines = lineCount(entry ? entry->value(PersonKey::StringValue).toString() : QString());
        } else if (kind == PersonValueType::Dictionary || kind == PersonValueType::String) {
            lines = lineCount(person->stringValueForIdentifier(type));
        }
    }
    row.numLines = lines;
    return lines;
}

double DetailRowBuilder::heightForLines(int lines, double rowHeight)
{
    return lines < 2 ? rowHeight : lines * rowHeight + 2.0;
}
