#pragma once

#include "panels/MergeRow.h"

#include <QObject>

class MergePanelController;
class MergeRowBuilder;
class MergeTable;
class QMenu;
class QNPerson;

// The row menu of the merge tables: the photo's items and Delete Item. Rebuilt for the clicked
// cell each time it opens; a right click outside a value cell gives an empty menu. The photo
// items are enabled only while the sheet is editing.
class MergeRowMenu : public QObject
{
    Q_OBJECT

public:
    // Told apart by their data, never by their titles.
    enum class Command
    {
        AddImage,
        DeleteImage,
        DeleteItem
    };
    Q_ENUM(Command)

    MergeRowMenu(MergePanelController &sheet, QObject *parent = nullptr);

    void menuNeedsUpdate(QMenu *menu, MergeTable *table, int row, int column);

    // Whether the row refers to a stored value, judged by the entry its label index names.
    static bool holdsValue(const MergeRow &row, QNPerson &person);

private:
    void addItem(QMenu *menu, const QString &title, Command command, MergeTable *table, bool enabled);
    void run(Command command, MergeTable *table);

    MergePanelController &m_sheet;
};
