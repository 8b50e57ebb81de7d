#pragma once

#include "model/AddressBookRecords.h"
#include "ui/contracts/DateEditorInterface.h"

#include <QString>
#include <QStringList>
#include <QVariantList>

class EditFunnel;
class UndoManager;

// What the main window hands the find window when it opens it.
struct FindPanelSetup
{
    // The selected group's rows, searched in order (those marked deleted are skipped).
    ContactTablePtr contacts;
    QVariantList customItems;
    // The grid's column identifiers in column order: the item filter it opens with.
    QStringList selectedItems;
    // The main window's edit state: the window's own Edit/Lock starts from it.
    bool editState = false;
    // The find pasteboard's string; empty when it holds none.
    QString searchString;
    // Every write goes through it; without one only the result rows change.
    EditFunnel *funnel = nullptr;
    // The main window's undo manager, on which the funnel records: Replace All is one step there.
    UndoManager *mainUndoManager = nullptr;
    // Makes the date editor of birthday and Dates rows; without one those rows open nothing.
    DateEditorFactory dateEditorFactory;
};
