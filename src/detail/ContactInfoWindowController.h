#pragma once

#include "ui/contracts/DetachedWindowController.h"

#include <QObject>
#include <QPointer>
#include <QWidget>

class ContactInfoPopover;
class UserDefaults;

// A contact popover torn off into a window of its own. The window deletes itself when it closes
// and takes this controller with it; its popover reports the closing to its delegate.
class ContactInfoWindowController : public QObject, public DetachedWindowController
{
    Q_OBJECT

public:
    static constexpr QSize DefaultSize{450, 640};

    explicit ContactInfoWindowController(UserDefaults &defaults);

    // DetachedWindowController
    void close() override;
    ContactInfoPopoverInterface *contentViewController() override;
    QWidget *window() override { return m_window; }

    ContactInfoPopover *popover() const { return m_popover; }

private:
    QPointer<QWidget> m_window;
    ContactInfoPopover *m_popover;
};
