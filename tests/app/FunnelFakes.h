#pragma once

#include "ui/contracts/ContactInfoPopoverInterface.h"
#include "ui/contracts/DetachedWindowController.h"
#include "sidebar/GroupViewController.h"
#include "detail/ContactInfoController.h"
#include "app/PlaceholderGrid.h"
#include "app/SplitPanes.h"
#include "find/FindBarController.h"
#include "platform/UserDefaults.h"

#include <QPointer>
#include <QStringList>

#include <functional>

// What the panes were asked to refresh, in order.
struct CallLog
{
    QStringList calls;
    // Called on each refresh, e.g. to look at the undo history at that moment.
    std::function<void()> onRefresh;
    void add(const QString &call)
    {
        calls.append(call);
        if (onRefresh)
            onRefresh();
    }
};

// The stand-in panes with their refreshes recorded and the grid's popover and windows settable.
class FakeGrid : public PlaceholderGrid
{
public:
    FakeGrid(CallLog &log) : PlaceholderGrid(UserDefaults::standard()), m_log(log) {}
    void setContactTable(const ContactTablePtr &table) override { contactTable = table; }
    void updateTable() override { m_log.add(QStringLiteral("grid")); }
    void selectRowIndexesWithContacts(const QList<ContactRowPtr> &contacts) override
    {
        selectedRows = contacts;
    }
    QList<SubContactRowPtr> selectedSubContacts() override { return selection; }
    QList<SubContactRowPtr> subContactTable() override
    {
        return shownRows.isEmpty() ? PlaceholderGrid::subContactTable() : shownRows;
    }
    Popover *popover() override { return currentPopover; }
    void setPopover(Popover *popover) override { currentPopover = popover; }
    QList<DetachedWindowEntryPtr> detachedWindows() const override { return windows; }
    void detachedWindowDidClose(const ClosedWindow &closed) override
    {
        windows.removeIf([&](const DetachedWindowEntryPtr &entry) { return entry->uniqueId == closed.uniqueId; });
    }

    ContactTablePtr contactTable;
    QList<ContactRowPtr> selectedRows;
    QList<SubContactRowPtr> selection;
    QList<SubContactRowPtr> shownRows;
    // A test's own popover may go before the view, which closes the grid's popover as it goes.
    QPointer<Popover> currentPopover;
    QList<DetachedWindowEntryPtr> windows;

private:
    CallLog &m_log;
};

class FakeDetailPane : public ContactInfoController
{
public:
    explicit FakeDetailPane(CallLog &log) : ContactInfoController(UserDefaults::standard()), m_log(log) {}
    void updateTable() override { m_log.add(QStringLiteral("detail")); }
    void updateWebView() override { m_log.add(QStringLiteral("card")); }
    void groupsDidChange() override { m_log.add(QStringLiteral("groups")); }

private:
    CallLog &m_log;
};

class FakeSidebar : public GroupViewController
{
public:
    void setSelectedGroupDict(const GroupDictPtr &group) override { selected = group; }
    GroupDictPtr selected;
};

// The detail table of the grid's popover or of a torn-off window, logging under its name.
class FakeContactPopover : public QWidget, public ContactInfoPopoverInterface
{
public:
    FakeContactPopover(CallLog &log, QString name, ContactRowPtr row)
        : m_log(log), m_name(std::move(name)), m_row(std::move(row))
    {
    }
    ContactRowPtr contact() const override { return m_row; }
    void updateTable() override { m_log.add(m_name); }
    bool contactsDidLeave(const QSet<QString> &uniqueIds) override
    {
        if (!m_row || !uniqueIds.contains(m_row->uniqueId))
            return false;
        if (onLeave)
            onLeave();
        return true;
    }

    // What closing does: the grid forgets its popover, a window reports its closing.
    std::function<void()> onLeave;

private:
    CallLog &m_log;
    QString m_name;
    ContactRowPtr m_row;
};

// A torn-off window of the row, listed in the grid while it is open.
class FakeDetachedWindow : public DetachedWindowController
{
public:
    FakeDetachedWindow(CallLog &log, FakeGrid &grid, const ContactRowPtr &row, const QString &name)
        : m_log(log), m_grid(grid), m_content(log, name, row), m_uniqueId(row->uniqueId)
    {
        auto entry = std::make_shared<DetachedWindowEntry>();
        entry->windowController = this;
        entry->uniqueId = row->uniqueId;
        grid.windows.append(entry);
        m_content.onLeave = [this] { close(); };
    }
    // Unlisted as it goes: the view closes the listed windows when it goes, after the test's own.
    ~FakeDetachedWindow() override
    {
        if (m_liveGrid)
            m_grid.windows.removeIf([this](const DetachedWindowEntryPtr &entry) { return entry->windowController == this; });
    }
    void close() override
    {
        m_log.calls.append(QStringLiteral("close ") + m_uniqueId);
        m_grid.detachedWindowDidClose({m_uniqueId});
    }
    ContactInfoPopoverInterface *contentViewController() override { return &m_content; }

private:
    CallLog &m_log;
    FakeGrid &m_grid;
    QPointer<QObject> m_liveGrid{&m_grid};
    FakeContactPopover m_content;
    QString m_uniqueId;
};

struct FakePanes
{
    FakeGrid *grid = nullptr;
    FakeDetailPane *detail = nullptr;
    FakeSidebar *sidebar = nullptr;

    SplitPanes make(CallLog &log)
    {
        SplitPanes panes;
        panes.contactsViewController = std::make_unique<FakeGrid>(log);
        panes.contactInfoController = std::make_unique<FakeDetailPane>(log);
        panes.groupViewController = std::make_unique<FakeSidebar>();
        panes.findBarController = std::make_unique<FindBarController>();
        grid = static_cast<FakeGrid *>(panes.contactsViewController.get());
        detail = static_cast<FakeDetailPane *>(panes.contactInfoController.get());
        sidebar = static_cast<FakeSidebar *>(panes.groupViewController.get());
        return panes;
    }
};
