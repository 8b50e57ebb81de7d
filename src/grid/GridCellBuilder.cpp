#include "grid/GridCellBuilder.h"

#include "grid/GridField.h"
#include "ui/widgets/LabelPopup.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "platform/Localizer.h"

namespace {

const QString AddressIdentifier = QStringLiteral("Address");

// The hit's range; none when it was not found.
std::optional<FindHighlight::Range> hitRange(const ItemAndRange &hit)
{
    if (hit.location < 0 || hit.length < 0)
        return std::nullopt;
    return FindHighlight::Range{hit.location, hit.length};
}

// Their text changes only through their editors.
bool editsInEditorOnly(const QString &identifier)
{
    return identifier == AddressIdentifier || identifier == QLatin1String("Instant Message") ||
           identifier == QLatin1String("Dates");
}

} // namespace

GridCell GridCellBuilder::cellAt(int rowIndex, int column) const
{
    const GridRows &rows = m_state.subContactTable;
    if (column < 0 || column >= m_state.columns.size() || rowIndex < 0 || rowIndex > rows.size())
        return {};
    if (rowIndex == rows.size()) {
        GridCell footer;
        footer.kind = GridCell::Kind::Footer;
        if (column == 0)
            footer.text = footerText();
        return footer;
    }
    const SubContactRowPtr shown = rows.at(rowIndex);
    const SubContactRow &row = *shown;
    QNPerson &person = *row.person;
    const QString &identifier = m_state.columns.at(column).identifier;
    const bool firstPosition = row.labelIndex == 0;
    if (identifier == PersonIdentifier::Name)
        return nameCell(row);
    if (identifier == PersonIdentifier::PhoneticName) {
        const QString text =
            firstPosition
                ? person.phoneticNameValue().value_or(QVariantMap()).value(PersonKey::StringValue).toString()
                : QString();
        return textCell(row, identifier, text);
    }
    if (GridField::isAddressPart(identifier))
        return addressPartCell(row, identifier);
    if (identifier == PersonIdentifier::Birthday) {
        const auto birthday = firstPosition ? person.birthdayValue() : std::nullopt;
        if (!birthday || !birthday->contains(PersonKey::StringValue))
            return {};
        return textCell(row, identifier, birthday->value(PersonKey::StringValue).toString());
    }
    const QString type = GridField::valueType(identifier, person, m_state.customItems);
    if (type == PersonValueType::Labeled)
        return labeledCell(row, identifier);
    if (type == PersonValueType::String && firstPosition) {
        GridCell cell = textCell(row, identifier, person.stringValueForIdentifier(identifier));
        cell.textEditable = m_state.editState;
        return cell;
    }
    return {};
}

GridCell GridCellBuilder::nameCell(const SubContactRow &row) const
{
    GridCell cell;
    cell.kind = GridCell::Kind::Name;
    // A contact's continuation rows leave the name empty.
    if (row.notFirstRow)
        return cell;
    QNPerson &person = *row.person;
    const QString name = person.compositeName();
    cell.text = name.isEmpty() || name == PersonKey::NoName ? L(PersonKey::NoName) : name;
    cell.showsImage = true;
    if (m_state.showCompanyInNameCell) {
        const QString nameText = person.nameValue().value(PersonKey::StringValue).toString();
        const QString company = person.stringValueForIdentifier(PersonIdentifier::Company);
        // A company card shows the person under the company.
        if (!nameText.isEmpty() && !company.isEmpty())
            cell.detailText = person.showAsPerson() ? company : nameText;
    }
    highlightText(cell, row, PersonIdentifier::Name);
    return cell;
}

GridCell GridCellBuilder::textCell(const SubContactRow &row, const QString &identifier,
                                   const QString &text) const
{
    GridCell cell;
    cell.kind = GridCell::Kind::Text;
    cell.text = text;
    highlightText(cell, row, identifier);
    return cell;
}

GridCell GridCellBuilder::addressPartCell(const SubContactRow &row, const QString &part) const
{
    const auto address = row.person->labeledValueForIdentifierAtIndex(AddressIdentifier, row.labelIndex);
    if (!address)
        return {};
    const QString label = address->value(PersonKey::Label).toString();
    if (!GridField::labelPasses(m_state.selectedLabels, label))
        return {};
    const QVariantMap value{{PersonKey::StringValue, address->value(part).toString()},
                            {PersonKey::LabelIndex, address->value(PersonKey::LabelIndex)},
                            {PersonKey::Label, label}};
    return popupCell(row, part, AddressIdentifier, value, m_state.editState);
}

GridCell GridCellBuilder::labeledCell(const SubContactRow &row, const QString &identifier) const
{
    const auto value = row.person->labeledValueForIdentifierAtIndex(identifier, row.labelIndex);
    if (!value || !GridField::labelPasses(m_state.selectedLabels, value->value(PersonKey::Label).toString()))
        return popupCell(row, identifier, identifier, {}, false);
    return popupCell(row, identifier, identifier, *value,
                     m_state.editState && !editsInEditorOnly(identifier));
}

GridCell GridCellBuilder::popupCell(const SubContactRow &row, const QString &identifier, const QString &kind,
                                    const QVariantMap &labeledValue, bool textEditable) const
{
    GridCell cell;
    cell.kind = GridCell::Kind::PopupAndText;
    cell.labeledValue = labeledValue;
    if (labeledValue.isEmpty())
        return cell;
    const LabelPopup popup(kind, labeledValue.value(PersonKey::Label).toString(), m_state.editState);
    cell.labelTitle = popup.title();
    cell.customLabel = popup.isCustom();
    cell.text = labeledValue.value(PersonKey::StringValue).toString();
    cell.textEditable = textEditable;
    highlightValue(cell, row, identifier);
    return cell;
}

void GridCellBuilder::highlightText(GridCell &cell, const SubContactRow &row, const QString &identifier) const
{
    if (cell.text.isEmpty() || m_state.findString.isEmpty())
        return;
    cell.findRanges = FindHighlight::occurrences(cell.text, m_state.findString, m_state.findOptions);
    const std::optional<ItemAndRange> &hit = m_state.selectedItemAndRange;
    // The current hit shows only in a text that holds the find string.
    if (cell.findRanges.isEmpty() || !hit || hit->uniqueId != row.uniqueId || hit->identifier != identifier)
        return;
    const auto range = hitRange(*hit);
    if (range && FindHighlight::fits(*range, cell.text))
        cell.currentHit = range;
}

void GridCellBuilder::highlightValue(GridCell &cell, const SubContactRow &row,
                                     const QString &identifier) const
{
    if (cell.text.isEmpty() || m_state.findString.isEmpty())
        return;
    const Qt::CaseSensitivity cs = m_state.findOptions;
    cell.findRanges = FindHighlight::occurrences(cell.text, m_state.findString, cs);
    const std::optional<ItemAndRange> &hit = m_state.selectedItemAndRange;
    if (!hit || hit->identifier != identifier || hit->uniqueId != row.uniqueId ||
        hit->labelIndex != row.labelIndex)
        return;
    const auto range = hitRange(*hit);
    if (range && FindHighlight::fits(*range, cell.text) &&
        cell.text.mid(range->location, range->length).compare(m_state.findString, cs) == 0)
        cell.currentHit = range;
}

QString GridCellBuilder::footerText() const
{
    const qsizetype contacts = m_state.subContactTable.contactCount();
    QString text = L(QStringLiteral("%@: total %ld contacts"));
    text.replace(QStringLiteral("%ld"), QString::number(contacts));
    text.replace(QStringLiteral("%@"), m_state.groupName);
    return text;
}
