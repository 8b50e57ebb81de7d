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
