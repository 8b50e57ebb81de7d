#include "panels/MergeRowMenu.h"

#include "panels/MergeCellFactory.h"
#include "panels/MergePanelController.h"
#include "panels/MergeTable.h"

#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "model/WorkspaceURL.h"

#include <QAction>
#include <QMenu>

namespace {

using DetailRowMenu::Command;

// Kinds whose entry counts only with a text.
const QStringList TextKinds = {QStringLiteral("Phone"), QStringLiteral("Email"), QStringLiteral("URL"),
                               QStringLiteral("Address"), QStringLiteral("Dates")};

bool isPhotoCommand(std::optional<Command> command)
{
    return command == Command::AddImage || command == Command::DeleteImage;
}

} // namespace

MergeRowMenu::MergeRowMenu(MergePanelController &sheet, QObject *parent) : QObject(parent), m_sheet(sheet)
{
}

bool MergeRowMenu::holdsValue(const MergeRow &row, QNPerson &person)
{
    if (row.type == PersonIdentifier::Photo)
        return !person.photo().isNull();
    if (row.type == PersonIdentifier::Birthday)
        return !person.stringValueForIdentifier(row.type).isEmpty();
    if (!row.labelIndex || *row.labelIndex < 0)
        return false;
    const std::optional<QVariantMap> entry = person.labeledValueForIdentifierAtLabelIndex(row.type, *row.labelIndex);
    if (!entry)
        return false;
    if (TextKinds.contains(row.type))
        return !entry->value(PersonKey::StringValue).toString().isEmpty();
    if (row.type == QLatin1String("Relationship"))
        return entry->contains(PersonKey::StringValue);
    return true;
}

void MergeRowMenu::menuNeedsUpdate(QMenu *menu, MergeTable *table, int row, int column)
{
    menu->clear();
    const ContactRowPtr contact = m_sheet.contactOf(table);
    if (!contact || row < 0 || row >= table->rows().size() || column != MergeCellFactory::ValueColumn)
        return;
    const MergeRow &mergeRow = table->rows().at(row);
    QNPerson &person = *contact->person;
    DetailRowMenu::Subject subject;
    subject.type = mergeRow.type;
    subject.valueType = m_sheet.rowBuilder().valueType(person, mergeRow.type);
    subject.holdsValue = holdsValue(mergeRow, person);
    DetailRowMenu::fill(menu, DetailRowMenu::items(subject, DetailRowMenu::Variant::Merge),
                        [this, table](Command command) { run(command, table); });
    for (QAction *action : menu->actions()) {
        if (isPhotoCommand(DetailRowMenu::commandOf(action)))
            action->setEnabled(m_sheet.isEditing());
    }
}

void MergeRowMenu::run(Command command, MergeTable *table)
{
    switch (command) {
    case Command::AddImage:
        m_sheet.addImage(table);
        break;
    case Command::DeleteImage:
        m_sheet.deleteImage(table);
        break;
    case Command::DeleteItem:
        m_sheet.deleteItem(table);
        break;
    case Command::InsertItem:
        m_sheet.insertItem(table);
        break;
    case Command::OpenValueEditor:
    case Command::OpenListEditor:
        m_sheet.showPopoverWrapper(table);
        break;
    case Command::OpenValue:
    case Command::OpenDesktopMap:
        m_sheet.doWorkspaceAction(table, WorkspaceURL::MapService::Desktop);
        break;
    case Command::OpenWebMap:
        m_sheet.doWorkspaceAction(table, WorkspaceURL::MapService::WebSearch);
        break;
    case Command::IconSizeBigger:
    case Command::IconSizeSmaller:
        // The merge variant has no icon-size items.
        break;
    }
}
