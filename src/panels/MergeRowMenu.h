#pragma once

#include "panels/MergeRow.h"

#include "ui/widgets/DetailRowMenu.h"

#include <QObject>

class MergePanelController;
class MergeTable;
class QMenu;
class QNPerson;

// The row menu of the merge tables: the detail tables' menu in its merge variant, rebuilt for the
// clicked cell each time it opens. A right click outside a value cell gives an empty menu; the
// photo items are enabled only while the sheet is editing.
class MergeRowMenu : public QObject
{
    Q_OBJECT

public:
    MergeRowMenu(MergePanelController &sheet, QObject *parent = nullptr);

    void menuNeedsUpdate(QMenu *menu, MergeTable *table, int row, int column);

    // Whether the row refers to a stored value, judged by the entry its label index names.
    static bool holdsValue(const MergeRow &row, QNPerson &person);

private:
    void run(DetailRowMenu::Command command, MergeTable *table);

    MergePanelController &m_sheet;
};
