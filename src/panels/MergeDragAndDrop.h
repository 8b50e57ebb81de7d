#pragma once

#include "panels/MergeRow.h"

#include "model/AddressBookRecords.h"

#include <QImage>
#include <QString>

class MergeRowBuilder;
class MergeUndoLayer;
class QMimeData;
class QNPerson;
class UndoManager;

// Carrying a value from one merge table to the other: what a dragged row writes, whether a
// destination row takes it, and the drop itself. Plain functions over the rows and the copies,
// so that every rule is tested without a real drag; the tables only translate their events.
namespace MergeDragAndDrop {

enum class Operation
{
    None,
    Copy,
    Move
};

enum class DropPosition
{
    On,
    Above
};

// Names the merge table a row drag left. The data says where it came from, so that a drop does
// not depend on the platform naming the drag's source (it does so only for a drag this process
// runs, and names the view or its viewport).
inline const QString RowOriginType = QStringLiteral("application/x-merge-row-origin");

// What a dragged row carries: "label: text" (a row without a label gives ": text") and, for the
// photo row, the picture.
struct Content
{
    QString text;
    QImage image;
    // The table the row leaves, in the form its sheet chose.
    QByteArray origin;

    bool isEmpty() const { return text.isEmpty() && image.isNull(); }
    // Text, PNG image data and the origin; null when there is nothing to carry.
    QMimeData *mimeData() const;
};

// The origin a row drag names; empty for any other drag.
QByteArray originOf(const QMimeData *data);

Content contentOfRow(const MergeRow &row, QNPerson &person, const MergeRowBuilder &builder);

struct Drop
{
    // The row the drag started from.
    MergeRow dragged;
    // The destination table's rows and the proposed row there.
    MergeRowTable destinationRows;
    int row = -1;
    DropPosition position = DropPosition::On;
    // The sheet is editing, and the drag came from the other merge table (not this one, not
    // elsewhere).
    bool editing = false;
    bool fromOtherTable = false;
    // The copy modifier (Ctrl) is held.
    bool copy = false;
};

Operation validateDrop(const Drop &drop, QNPerson &destination, const MergeRowBuilder &builder);

// Writes the dropped value into the destination copy (and, for a move, takes it from the source)
// through the sheet's undo layer, as one undo step. True when something changed. Every value is
// read from the source before anything is written.
bool acceptDrop(const Drop &drop, const ContactRowPtr &source, const ContactRowPtr &destination,
                MergeUndoLayer &layer, UndoManager &undoManager, const MergeRowBuilder &builder);

} // namespace MergeDragAndDrop
