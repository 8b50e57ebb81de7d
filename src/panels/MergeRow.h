#pragma once

#include <QList>
#include <QString>

#include <optional>

// One row of a merge table, made fresh at every reload from the side's contact. Both tables list
// the same kinds in the same order with the same number of rows per kind, so row i of the left
// table and row i of the right one always belong to the same kind.
struct MergeRow
{
    // The field's identifier, a custom item's name, or "Name Ordering" / "Name Display".
    QString type;
    // Name rows: the part key; labelled rows: the entry's label ("" on fillers); "Name Ordering"
    // and "Name Display": the title shown; a birthday: its label. Absent on a text field's row.
    std::optional<QString> label;
    // The photo row and a kind without any value.
    bool emptyValue = false;
    // Labelled rows: the entry's own "labelIndex", -1 on filler rows.
    std::optional<qint64> labelIndex;
    // Labelled rows: the position within the kind, going on through the filler rows.
    std::optional<qsizetype> index;
    // Labelled rows: this side's count of the kind minus the position; 1 or more on a value row,
    // 0 on the first filler row (where a value can be appended), negative after it.
    std::optional<qsizetype> valueCount;
    // Lines the row takes; set when the table lays out the row heights.
    std::optional<int> numLines;

    bool isFiller() const { return valueCount && *valueCount <= 0; }
};
using MergeRowTable = QList<MergeRow>;
