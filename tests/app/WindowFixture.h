#pragma once

#include "AppFixture.h"

#include "app/MenuCommand.h"
#include "app/PlaceholderGrid.h"
#include "app/WindowController.h"
#include "platform/LogCapture.h"

#include <QAction>
#include <QMenu>
#include <QToolButton>

// The stand-in grid, noting what the window tells it and answering with chosen selected rows.
class RecordingGrid : public PlaceholderGrid
{
public:
    using PlaceholderGrid::PlaceholderGrid;

    void setSelectedViewType(const QString &viewType) override
    {
        viewTypes.append(viewType);
        PlaceholderGrid::setSelectedViewType(viewType);
    }
    void setSelectedLabels(const QStringList &labels) override
    {
        this->labels = labels;
        PlaceholderGrid::setSelectedLabels(labels);
    }
    void updateTable() override
    {
        ++updates;
        PlaceholderGrid::updateTable();
    }
    void sortOptionsChanged(const QVariantMap &entry, const QString &column) override
    {
        sorts.append({column, entry});
    }
    void saveColumnWithDictionary() override { ++columnSaves; }
    QList<SubContactRowPtr> selectedSubContacts() override { return selectedRows; }

    QStringList viewTypes;
    QStringList labels;
    int updates = 0;
    QList<std::pair<QString, QVariantMap>> sorts;
    int columnSaves = 0;
    QList<SubContactRowPtr> selectedRows;
};

// A fresh main window over the stand-in panes, with the recording grid.
class WindowFixture : public AppFixture
{
protected:
    void SetUp() override
    {
        AppFixture::SetUp();
        makeWindow();
    }

    void makeWindow()
    {
        m_window.reset();
        SplitPanes panes = SplitPanes::makeDefault(defaults());
        auto grid = std::make_unique<RecordingGrid>(defaults());
        m_grid = grid.get();
        panes.contactsViewController = std::move(grid);
        m_window = std::make_unique<WindowController>(defaults(), std::move(panes));
    }

    ViewController *view() const { return m_window->mainViewController(); }

    // The item of the menu (or of one of its submenus) that stands for object.
    static QAction *itemFor(QMenu *menu, const QVariant &object, MenuCommand command)
    {
        for (QAction *item : menu->actions()) {
            if (item->menu()) {
                if (QAction *found = itemFor(item->menu(), object, command))
                    return found;
            } else if (menuCommand(item) == command && representedObject(item) == object) {
                return item;
            }
        }
        return nullptr;
    }

    // Validates the item as its menu would before showing it, and answers whether it is enabled.
    bool validated(QAction *item) { return m_window->validateMenuItem(item); }

    // Set-up messages of the windows made here stay out of the test output.
    LogCapture m_log;
    std::unique_ptr<WindowController> m_window;
    RecordingGrid *m_grid = nullptr;
};
