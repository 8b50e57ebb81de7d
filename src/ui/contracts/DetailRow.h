#pragma once

#include <QList>
#include <QString>

#include <memory>
#include <optional>

// One row of the contact detail table, made fresh at every rebuild from the contact. Rows are
// handed to the main view controller when selected and read by the cells, the editing code and the
// row menu, so they are shared.
struct DetailRow
{
    // The field's identifier ("Name", "Phone", a custom item's name) or a pseudo-field ("Photo",
    // "Groups", "Name Ordering", "Name Display").
    QString type;
    // Name rows: the part key; labelled rows: the entry's label; "Name Ordering" and "Name Display":
    // the title shown; absent on the row of a string field.
    std::optional<QString> label;
    // Name rows: the part's position; labelled rows: the entry's own "labelIndex" (not a position).
    std::optional<int> labelIndex;
    // Labelled rows: the entry's position in the field's list.
    std::optional<int> index;
    // Position of the row's field in the field order; the same on every row of a field.
    int rowOrderIndex = 0;
    // "" on the "Photo" and "Groups" rows.
    std::optional<QString> value;
    // Lines the row takes; set when the table asks for the row's height.
    std::optional<int> numLines;
};
using DetailRowPtr = std::shared_ptr<DetailRow>;
using DetailRowTable = QList<DetailRowPtr>;
