#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include <memory>

// A contact shown outside the grid: in the grid's contact popover (no window) or in a torn-off
// detail window. At most one per contact.
struct DetachedWindowEntry
{
    QString uniqueId;
    // The torn-off window; null while the contact's popover is open.
    QPointer<QWidget> window;
    // The detail view the window shows; refreshed by the grid when its contact is the selected one.
    QPointer<QWidget> contentViewController;
};
using DetachedWindowEntryPtr = std::shared_ptr<DetachedWindowEntry>;
