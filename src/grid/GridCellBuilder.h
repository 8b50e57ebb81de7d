#pragma once

#include "grid/GridCell.h"
#include "grid/GridState.h"

class QNPerson;
struct SubContactRow;

// Decides what each cell of the grid shows, by its column's field and the row's value position.
class GridCellBuilder
{
public:
    explicit GridCellBuilder(const GridState &state) : m_state(state) {}

    // row may be the footer row (one past the last grid row).
    GridCell cellAt(int row, int column) const;
    // "<group>: total <n> contacts", n counting each contact's first position once.
    QString footerText() const;

private:
    GridCell nameCell(const SubContactRow &row) const;
    GridCell textCell(const SubContactRow &row, const QString &identifier, const QString &text) const;
    GridCell addressPartCell(const SubContactRow &row, const QString &part) const;
    GridCell labeledCell(const SubContactRow &row, const QString &identifier) const;
    GridCell popupCell(const SubContactRow &row, const QString &identifier, const QString &kind,
                       const QVariantMap &labeledValue, bool textEditable) const;
    void highlightText(GridCell &cell, const SubContactRow &row, const QString &identifier) const;
    void highlightValue(GridCell &cell, const SubContactRow &row, const QString &identifier) const;

    const GridState &m_state;
};
