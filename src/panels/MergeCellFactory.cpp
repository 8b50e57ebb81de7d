#include "panels/MergeCellFactory.h"

#include "panels/MergeEditing.h"
#include "panels/MergeRowBuilder.h"

#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "platform/Localizer.h"
#include "ui/widgets/DetailIcons.h"
#include "ui/widgets/DetailPopupAndTextCell.h"
#include "ui/widgets/DetailPopupButton.h"
#include "ui/widgets/DetailTextCell.h"
#include "ui/widgets/DetailTypeCell.h"
#include "ui/widgets/ImageViewDragAndDrop.h"

#include <QComboBox>

#include <cmath>

namespace {

constexpr int IconPixels = 32;

int rowLines(const MergeRow &row)
{
    return std::max(row.numLines.value_or(1), 1);
}

// Cells of one line show a value's line breaks as blanks.
QString oneLine(QString text)
{
    text.replace(QLatin1String("\r\n"), QLatin1String(" "));
    for (const QChar breakChar : {QChar('\n'), QChar('\r'), QChar(0x2028), QChar(0x2029)})
        text.replace(breakChar, QLatin1Char(' '));
    return text;
}

QVariantMap nameDictionary(const MergeRow &row, QNPerson &person)
{
    if (row.type == PersonIdentifier::Name)
        return person.nameValue();
    return person.phoneticNameValue().value_or(QVariantMap());
}

bool isNameRow(const MergeRow &row)
{
    return row.type == PersonIdentifier::Name || row.type == PersonIdentifier::PhoneticName;
}

} // namespace

std::optional<QString> MergeCellFactory::editableText(const MergeRow &row, QNPerson &person,
                                                      const MergeRowBuilder &builder)
{
    if (isNameRow(row))
        return nameDictionary(row, person).value(row.label.value_or(QString())).toString();
    const QString valueType = builder.valueType(person, row.type);
    const bool textEntry = MergeEditing::hasTextEntries(row.type, valueType) && !row.isFiller();
    if (row.type == PersonIdentifier::Birthday || (valueType != PersonValueType::String && !textEntry))
        return std::nullopt;
    // A text of several lines would lose its breaks in a one-line editor.
    const QString text = MergeEditing::valueText(row, person, builder);
    if (oneLine(text) != text)
        return std::nullopt;
    return text;
}

QWidget *MergeCellFactory::makeCell(const MergeRowTable &rows, int row, int column) const
{
    if (row < 0 || row >= rows.size() || !m_context.person || !m_context.builder)
        return nullptr;
    return column == TypeColumn ? makeTypeCell(rows, row) : makeValueCell(rows.at(row));
}

QWidget *MergeCellFactory::makeTypeCell(const MergeRowTable &rows, int row) const
{
    const MergeRow &mergeRow = rows.at(row);
    QString text = QNPerson::localizedIdentifierForKey(mergeRow.type);
    // A run of rows of one kind names the kind once.
    if (row > 0 && QNPerson::localizedIdentifierForKey(rows.at(row - 1).type) == text)
        text.clear();
    auto *cell = new DetailTypeCell;
    cell->setFont(m_context.font);
    cell->setText(text);
    if (text.isEmpty())
        return cell;
    cell->setIcon(DetailIcons::imageForType(mergeRow.type, m_context.person, IconPixels));
    const double height = m_context.rowHeight;
    cell->setTextBand(int(std::floor((rowLines(mergeRow) * height - height) * 0.5)), int(height));
    return cell;
}

QWidget *MergeCellFactory::makeValueCell(const MergeRow &row) const
{
    QNPerson &person = *m_context.person;
    if (isNameRow(row))
        return makeNamePartCell(row);
    if (row.type == PersonIdentifier::Photo)
        return makePhotoCell();
    if (row.type == PersonIdentifier::NameOrdering)
        return makeNameOrderingCell();
    if (row.type == PersonIdentifier::NameDisplay)
        return makeNameDisplayCell();
    if (row.type == QLatin1String("Note"))
        return makeTextCell(row, person.stringValueForIdentifier(row.type), QString(), false);
    if (row.type == PersonIdentifier::Birthday) {
        const auto birthday = person.birthdayValue();
        const QString text = birthday ? birthday->value(PersonKey::StringValue).toString() : QString();
        return makeTextCell(row, text, QString(), false);
    }
    const QString type = m_context.builder->valueType(person, row.type);
    if (type == PersonValueType::Labeled)
        return makeLabeledValueCell(row);
    if (type == PersonValueType::String) {
        const QString text = person.stringValueForIdentifier(row.type);
        return makeTextCell(row, oneLine(text), QString(),
                            m_context.editState && editableText(row, person, *m_context.builder));
    }
    return nullptr;
}

QWidget *MergeCellFactory::makeNamePartCell(const MergeRow &row) const
{
    const QString part = row.label.value_or(QString());
    const QString text = oneLine(nameDictionary(row, *m_context.person).value(part).toString());
    return makeTextCell(row, text, text.isEmpty() ? L(part) : QString(), m_context.editState);
}

QWidget *MergeCellFactory::makePhotoCell() const
{
    auto *well = new ImageViewDragAndDrop;
    well->setImage(m_context.person->thumbnail());
    well->setEditable(m_context.editState);
    well->setDelegate(m_context.photoDelegate);
    well->setTableView(m_context.tableView);
    well->setDragTag(m_context.wellTag);
    return well;
}

QWidget *MergeCellFactory::makeNameOrderingCell() const
{
    const int ordering = m_context.person->nameValue().value(PersonKey::NameOrdering).toInt();
    QComboBox *popup =
        DetailPopupButton::withKeys(m_context.builder->nameOrderingLabels(),
                                    ordering == 1 || ordering == 2 ? ordering : 0, m_context.font);
    // The store keeps no name order of its own, so a choice here could not be saved.
    popup->setEnabled(false);
    if (m_context.documentType == QLatin1String("vCard"))
        popup->setToolTip(L(QStringLiteral("Changes will not be saved")));
    return popup;
}

QWidget *MergeCellFactory::makeNameDisplayCell() const
{
    const bool showAsPerson = m_context.person->nameValue().value(PersonKey::ShowAsPerson, true).toBool();
    const QStringList titles =
        QNPerson::localizedLabelsForIdentifier(QStringLiteral("Show as Person")).value_or(QStringList());
    QComboBox *popup = DetailPopupButton::withKeys(titles, showAsPerson ? 0 : 1, m_context.font);
    popup->setEnabled(m_context.editState);
    return popup;
}

QWidget *MergeCellFactory::makeTextCell(const MergeRow &row, const QString &text, const QString &placeholder,
                                        bool editable) const
{
    auto *cell = new DetailTextCell;
    cell->setFont(m_context.font);
    cell->setText(text);
    cell->setPlaceholderText(placeholder);
    cell->setEditable(editable);
    cell->setLineLayout(m_context.rowHeight, rowLines(row));
    return cell;
}

QWidget *MergeCellFactory::makeLabeledValueCell(const MergeRow &row) const
{
    QNPerson &person = *m_context.person;
    auto *cell = new DetailPopupAndTextCell;
    cell->setPerson(&person);
    cell->setSelectedFont(m_context.font);
    cell->setLabels(QNPerson::labelsForIdentifier(row.type).value_or(QStringList()),
                    QNPerson::localizedLabelsForIdentifier(row.type).value_or(QStringList()),
                    QNPerson::customLabelsForIdentifier(row.type).value_or(QStringList()));
    std::optional<QVariantMap> entry;
    if (row.index && !row.isFiller())
        entry = person.labeledValueForIdentifierAtIndex(row.type, *row.index);
    if (entry)
        entry->insert(PersonKey::StringValue, oneLine(entry->value(PersonKey::StringValue).toString()));
    cell->setLabeledValue(entry);
    cell->setLabelIndex(int(row.labelIndex.value_or(0)));
    cell->setRowLayout(m_context.rowHeight, 1);
    cell->setEditState(m_context.editState);
    cell->textCell()->setEditable(m_context.editState && entry && editableText(row, person, *m_context.builder));
    cell->updatePopupAndText();
    return cell;
}
