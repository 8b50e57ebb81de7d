#include "detail/ContactInfoWindowController.h"

#include "detail/ContactInfoPopover.h"
#include "platform/widgets/Popover.h"

#include <QVBoxLayout>

ContactInfoWindowController::ContactInfoWindowController(UserDefaults &defaults)
    : m_window(new QWidget(nullptr, Qt::Window)), m_popover(new ContactInfoPopover(defaults))
{
    setParent(m_window);
    m_window->setAttribute(Qt::WA_DeleteOnClose);
    auto *layout = new QVBoxLayout(m_window);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_popover);
    m_window->resize(DefaultSize);
}

void ContactInfoWindowController::close()
{
    if (m_window)
        m_window->close();
}

ContactInfoPopoverInterface *ContactInfoWindowController::contentViewController()
{
    return m_popover;
}
