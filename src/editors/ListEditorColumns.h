#pragma once

#include <QList>
#include <QString>

// The columns of the list editor, one table per kind of labelled value.
namespace ListEditorColumns {

enum class Cell
{
    // Opens the nested editor of an address row.
    EditCheckbox,
    LabelPopup,
    ServicePopup,
    CountryMenu,
    Text
};

struct Column
{
    QString identifier;
    QString title;
    int width = 0;
    Cell cell = Cell::Text;
    // The entry key the column shows and edits; also the key it sorts by.
    QString valueKey;
    // Empty for a column that does not sort.
    QString sortKey;
};

// The columns of a kind, left to right: addresses, instant messages, social profiles, and one
// label and one value column for every other kind (custom items included).
QList<Column> columnsForType(const QString &type);

// Text columns take typed text; Tab and double clicks skip the others.
inline bool isTextColumn(const Column &column)
{
    return column.cell == Cell::Text;
}

} // namespace ListEditorColumns
