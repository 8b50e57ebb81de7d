#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include <memory>

class DetachedWindowController;

// One torn-off detail window, as the grid lists them.
struct DetachedWindowEntry
{
    // Owned by its window, which outlives the entry: closing the window removes the entry.
    DetachedWindowController *windowController = nullptr;
    // The contact the window shows.
    QString uniqueId;
    QPointer<QWidget> window;
};
using DetachedWindowEntryPtr = std::shared_ptr<DetachedWindowEntry>;

// A torn-off window that closed. A popover reports its presenter's window, which no entry holds.
struct ClosedWindow
{
    QString uniqueId;
    // Null when only the contact is known.
    QObject *window = nullptr;
};
