#include "panels/MergeRowMenu.h"

#include "panels/MergeCellFactory.h"
#include "panels/MergePanelController.h"
#include "panels/MergeTable.h"

#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "platform/Localizer.h"

#include <QAction>
#include <QMenu>

namespace {

// The kinds whose rows offer Delete Item while they hold a value.
const QStringList DeletableKinds = {
    QStringLiteral("Phone"),         QStringLiteral("Email"),          QStringLiteral("URL"),
    QStringLiteral("Relationship"),  QStringLiteral("Address"),        QStringLiteral("Instant Message"),
    QStringLiteral("Social Network"), QStringLiteral("Dates"),         QStringLiteral("Birthday")};

// Kinds whose entry counts only with a text.
const QStringList TextKinds = {QStringLiteral("Phone"), QStringLiteral("Email"), QStringLiteral("URL"),
                               QStringLiteral("Address"), QStringLiteral("Dates")};

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
    const bool holds = holdsValue(mergeRow, *contact->person);
    if (mergeRow.type == PersonIdentifier::Photo) {
        const bool editing = m_sheet.isEditing();
        if (holds) {
            addItem(menu, QStringLiteral("Replace Image"), Command::AddImage, table, editing);
            addItem(menu, QStringLiteral("Delete Image"), Command::DeleteImage, table, editing);
        } else {
            addItem(menu, QStringLiteral("Add Image"), Command::AddImage, table, editing);
        }
        return;
    }
    if (!holds || !DeletableKinds.contains(mergeRow.type))
        return;
    if (mergeRow.type == PersonIdentifier::Birthday)
        menu->addSeparator();
    addItem(menu, QStringLiteral("Delete Item"), Command::DeleteItem, table, true);
}

void MergeRowMenu::addItem(QMenu *menu, const QString &title, Command command, MergeTable *table, bool enabled)
{
    QAction *action = menu->addAction(L(title));
    action->setData(QVariant::fromValue(command));
    action->setEnabled(enabled);
    connect(action, &QAction::triggered, this, [this, command, table] { run(command, table); });
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
    }
}
