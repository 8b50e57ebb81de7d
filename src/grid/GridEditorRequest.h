#pragma once

#include "grid/GridTargets.h"
#include "ui/contracts/SubContactRow.h"

#include <QList>
#include <QRect>
#include <QString>

// The value editors the grid opens in its popover, and the contact popover.
enum class GridEditor
{
    Name,
    PhoneticName,
    Address,
    InstantMessage,
    SocialProfile,
    Date,
    MultiValue,
    ContactInfo,
};

// One editor to open over a cell: the grid row's contact, the type handed to the editor, the value
// position (-1 for a new value) and the cell's rectangle in the table's viewport. targets are the
// rows the editor's result is written to.
struct GridEditorRequest
{
    GridEditor editor = GridEditor::MultiValue;
    SubContactRowPtr row;
    QString type;
    int labelIndex = -1;
    QRect cellRect;
    GridTargets targets;
};
