#pragma once

class ContactInfoPopoverInterface;
class QWidget;

// The controller of a contact popover torn off into its own window.
class DetachedWindowController
{
public:
    virtual ~DetachedWindowController() = default;

    // Closes the window; the closing is reported through detachedWindowDidClose, which drops the
    // window's entry from the grid.
    virtual void close() = 0;
    virtual ContactInfoPopoverInterface *contentViewController() = 0;
    // The window itself, which owns the controller; null for a stand-in.
    virtual QWidget *window() { return nullptr; }
};
