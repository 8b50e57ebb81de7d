#include "detail/DetailCellFactory.h"

#include "ui/widgets/DetailIcons.h"
#include "ui/widgets/DetailPopupAndTextCell.h"
#include "ui/widgets/DetailPopupButton.h"
#include "detail/DetailRowBuilder.h"
#include "ui/widgets/DetailTextCell.h"
#include "ui/widgets/DetailTypeCell.h"
#include "ui/widgets/DetailFindMarks.h"
#include "ui/widgets/ImageViewDragAndDrop.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "platform/Localizer.h"

#include <QComboBox>

#include <cmath>

namespace {

constexpr int IconPixels = 32;

int rowLines(const DetailRow &row)
{
    return std::max(row.numLines.value_or(1), 1);
}

} // namespace

QWidget *DetailCellFactory::makeCell(const DetailRowTable &rows, int row, int column) const
{
    if (row < 0 || row >= rows.size())
        return nullptr;
    return column == TypeColumn ? makeTypeCell(rows, row) : makeValueCell(*rows.at(row));
}

QWidget *DetailCellFactory::makeTypeCell(const DetailRowTable &rows, int row) const
{
    const DetailRow &detailRow = *rows.at(row);
    QString text = QNPerson::localizedIdentifierForKey(detailRow.type);
    // A run of rows of one field names the field once.
    if (row > 0 && QNPerson::localizedIdentifierForKey(rows.at(row - 1)->type) == text)
        text.clear();
    auto *cell = new DetailTypeCell;
    cell->setFont(m_context.font);
    cell->setText(text);
    if (text.isEmpty())
        return cell;
    cell->setIcon(DetailIcons::imageForType(detailRow.type, m_context.contact->person.get(), IconPixels));
    const double height = m_context.rowHeight;
    cell->setTextBand(int(std::floor((rowLines(detailRow) * height - height) * 0.5)), int(height));
    return cell;
}

QWidget *DetailCellFactory::makeValueCell(const DetailRow &row) const
{
    const QString &type = row.type;
    if (type == PersonIdentifier::Name || type == PersonIdentifier::PhoneticName)
        return makeNamePartCell(row);
    if (type == PersonIdentifier::Photo)
        return makePhotoCell();
    if (type == PersonIdentifier::Groups)
        return makeGroupsCell(row);
    if (type == PersonIdentifier::NameOrdering)
        return makeNameOrderingCell();
    if (type == PersonIdentifier::NameDisplay)
        return makeNameDisplayCell();
    QNPerson *person = m_context.contact->person.get();
    if (type == PersonIdentifier::Birthday) {
        const auto birthday = person ? person->birthdayValue() : std::nullopt;
        const QString text = birthday ? birthday->value(PersonKey::StringValue).toString() : QString();
        return makeTextCell(row, text, QString(), false);
    }
    const QString kind = m_context.builder->valueTypeForIdentifier(person, type);
    if (kind == PersonValueType::String) {
        const QString text = person ? person->stringValueForIdentifier(type) : QString();
        return makeTextCell(row, text, QString(), m_context.editState);
    }
    if (kind == PersonValueType::Labeled)
        return makeLabeledValueCell(row);
    return nullptr;
}

QWidget *DetailCellFactory::makeNamePartCell(const DetailRow &row) const
{
    QNPerson *person = m_context.contact->person.get();
    const QString part = row.label.value_or(QString());
    QVariantMap dictionary;
    if (person && row.type == PersonIdentifier::Name)
        dictionary = person->nameValue();
    else if (person)
        dictionary = person->phoneticNameValue().value_or(QVariantMap());
    const QString text = dictionary.value(part).toString();
    return makeTextCell(row, text, text.isEmpty() ? L(part) : QString(), m_context.editState);
}

QWidget *DetailCellFactory::makePhotoCell() const
{
    auto *well = new ImageViewDragAndDrop;
    QNPerson *person = m_context.contact->person.get();
    well->setImage(person ? person->thumbnail() : QImage(QStringLiteral(":/icons/icon_person.png")));
    well->setEditable(m_context.editState);
    well->setDelegate(m_context.photoDelegate);
    well->setTableView(m_context.tableView);
    return well;
}

QWidget *DetailCellFactory::makeGroupsCell(const DetailRow &row) const
{
    return makeTextCell(row, m_context.groupNames.join(QStringLiteral(", ")),
                        L(row.label.value_or(QString())), false);
}

QWidget *DetailCellFactory::makeNameOrderingCell() const
{
    QNPerson *person = m_context.contact->person.get();
    const int ordering = person ? person->nameValue().value(PersonKey::NameOrdering).toInt() : 0;
    QComboBox *popup = DetailPopupButton::withKeys(
        m_context.nameOrderingLabels, ordering == 1 || ordering == 2 ? ordering : 0, m_context.font);
    popup->setToolTip(
        L(QStringLiteral("Sorry, change will not be saved due to the lack of system service.")));
    // The store keeps no name order of its own, so a choice here could not be saved.
    popup->setEnabled(false);
    return popup;
}

QWidget *DetailCellFactory::makeNameDisplayCell() const
{
    QNPerson *person = m_context.contact->person.get();
    const bool showAsPerson =
        person ? person->nameValue().value(PersonKey::ShowAsPerson, true).toBool() : true;
    const QStringList titles =
        QNPerson::localizedLabelsForIdentifier(QStringLiteral("Show as Person")).value_or(QStringList());
    QComboBox *popup = DetailPopupButton::withKeys(titles, showAsPerson ? 0 : 1, m_context.font);
    popup->setEnabled(m_context.editState);
    return popup;
}

QWidget *DetailCellFactory::makeTextCell(const DetailRow &row, const QString &text,
                                         const QString &placeholder, bool editable) const
{
    auto *cell = new DetailTextCell;
    cell->setFont(m_context.font);
    cell->setText(text);
    cell->setPlaceholderText(placeholder);
    cell->setEditable(editable);
    cell->setLineLayout(m_context.rowHeight, rowLines(row));
    QNPerson *person = m_context.contact->person.get();
    std::optional<ItemAndRange> hit;
    if (m_context.findTarget && person &&
        DetailFindMarks::rowHoldsHit(row, *m_context.findTarget, person->uniqueId()))
        hit = m_context.findTarget;
    cell->setMarks(DetailFindMarks::marks(text, m_context.findString, m_context.findOptions, hit));
    return cell;
}

QWidget *DetailCellFactory::makeLabeledValueCell(const DetailRow &row) const
{
    QNPerson *person = m_context.contact->person.get();
    auto *cell = new DetailPopupAndTextCell;
    cell->setFindString(m_context.findString);
    cell->setFindOptions(m_context.findOptions);
    cell->setPerson(person);
    cell->setFindTarget(m_context.findTarget && m_context.findTarget->identifier == row.type
                            ? m_context.findTarget
                            : std::nullopt);
    cell->setSelectedFont(m_context.font);
    cell->setLabels(QNPerson::labelsForIdentifier(row.type).value_or(QStringList()),
                    QNPerson::localizedLabelsForIdentifier(row.type).value_or(QStringList()),
                    QNPerson::customLabelsForIdentifier(row.type).value_or(QStringList()));
    std::optional<QVariantMap> entry;
    if (person && row.index)
        entry = person->labeledValueForIdentifierAtIndex(row.type, *row.index);
    cell->setLabeledValue(entry);
    cell->setLabelIndex(row.labelIndex.value_or(0));
    cell->setRowLayout(m_context.rowHeight, rowLines(row));
    cell->setEditState(m_context.editState);
    cell->textCell()->setEditable(m_context.editState);
    cell->updatePopupAndText();
    return cell;
}
