#include "platform/widgets/Popover.h"

#include "platform/Localizer.h"

#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QScreen>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <utility>

namespace {

Qt::WindowFlags windowFlagsFor(Popover::Behavior behavior)
{
    if (behavior == Popover::Behavior::Transient)
        return Qt::Popup | Qt::FramelessWindowHint;
    return Qt::Tool | Qt::FramelessWindowHint;
}

bool isHorizontal(Popover::Edge edge)
{
    return edge == Popover::Edge::MinX || edge == Popover::Edge::MaxX;
}

// Start of a popover of the given length on one side of [low, high), flipped to the other side
// when only that side has room between screenLow and screenHigh.
int besideRange(int low, int high, int length, bool after, int screenLow, int screenHigh)
{
    const int afterStart = high;
    const int beforeStart = low - length;
    const bool afterFits = afterStart + length <= screenHigh;
    const bool beforeFits = beforeStart >= screenLow;
    if (after)
        return afterFits || !beforeFits ? afterStart : beforeStart;
    return beforeFits || !afterFits ? beforeStart : afterStart;
}

int clampInto(int start, int length, int screenLow, int screenHigh)
{
    return qMax(screenLow, qMin(start, screenHigh - length));
}

bool isPlainEscape(const QEvent *event)
{
    const auto *key = static_cast<const QKeyEvent *>(event);
    return key->key() == Qt::Key_Escape && key->modifiers() == Qt::NoModifier;
}

} // namespace

Popover::Popover(QWidget *parent) : QFrame(parent, windowFlagsFor(Behavior::Transient))
{
    setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    m_detachButton = new QToolButton(this);
    m_detachButton->setAutoRaise(true);
    m_detachButton->setIcon(style()->standardIcon(QStyle::SP_TitleBarNormalButton));
    m_detachButton->setToolTip(L(QStringLiteral("Detach")));
    m_detachButton->hide();
    connect(m_detachButton, &QToolButton::clicked, this, &Popover::detach);
}

void Popover::setContentWidget(QWidget *content)
{
    if (m_content == content)
        return;
    if (m_content) {
        m_content->hide();
        m_content->deleteLater();
    }
    m_content = content;
    if (content) {
        content->setParent(this);
        content->show();
    }
    updateSize();
}

void Popover::setContentSize(const QSize &size)
{
    m_contentSize = size;
    updateSize();
    if (m_shown && m_anchor.isValid())
        move(placement(m_anchor, this->size(), m_edge, m_screenArea));
}

QSize Popover::contentSize() const
{
    if (m_contentSize.isValid())
        return m_contentSize;
    return m_content ? m_content->sizeHint() : QSize(0, 0);
}

void Popover::setDetachable(bool detachable)
{
    m_detachable = detachable;
    m_detachButton->setVisible(detachable);
    updateSize();
}

void Popover::showRelativeToRect(const QRect &rect, QWidget *ofWidget, Edge preferredEdge)
{
    if (!ofWidget)
        return;
    if (!m_shown)
        setParent(ofWidget->window(), windowFlagsFor(m_behavior));
    updateSize();
    const QRect anchor(ofWidget->mapToGlobal(rect.topLeft()), rect.size());
    const QScreen *screen = ofWidget->screen();
    const QRect available = screen ? screen->availableGeometry() : QRect(anchor.topLeft(), size());
    m_anchor = anchor;
    m_screenArea = available;
    m_edge = preferredEdge;
    move(placement(anchor, size(), preferredEdge, available));
    if (m_shown)
        return;
    m_shown = true;
    m_willCloseSent = false;
    m_reason = CloseReason::Standard;
    m_escapeClosedInnerPopup = false;
    // Lists and menus opened over the content are windows of their own: only the application
    // sees the keys they get.
    qApp->installEventFilter(this);
    show();
    // Qt raises and focuses popups itself.
    if (windowType() != Qt::Popup) {
        raise();
        activateWindow();
    }
}

QPoint Popover::placement(const QRect &anchor, const QSize &size, Edge preferredEdge, const QRect &screen)
{
    const bool after = preferredEdge == Edge::MaxX || preferredEdge == Edge::MaxY;
    int x = 0;
    int y = 0;
    if (isHorizontal(preferredEdge)) {
        x = besideRange(anchor.left(), anchor.left() + anchor.width(), size.width(), after, screen.left(),
                        screen.left() + screen.width());
        y = anchor.top() + (anchor.height() - size.height()) / 2;
    } else {
        x = anchor.left() + (anchor.width() - size.width()) / 2;
        y = besideRange(anchor.top(), anchor.top() + anchor.height(), size.height(), after, screen.top(),
                        screen.top() + screen.height());
    }
    return {clampInto(x, size.width(), screen.left(), screen.left() + screen.width()),
            clampInto(y, size.height(), screen.top(), screen.top() + screen.height())};
}

void Popover::detach()
{
    if (!m_shown || !m_detachable)
        return;
    QWidget *window = m_windowFactory ? m_windowFactory() : windowWithContent();
    if (!window)
        return;
    const QPoint where = geometry().topLeft();
    closeWithReason(CloseReason::Detached);
    window->move(where);
    window->show();
    window->raise();
    window->activateWindow();
    emit detached(window);
}

QWidget *Popover::windowWithContent()
{
    if (!m_content)
        return nullptr;
    QWidget *content = m_content;
    m_content = nullptr;
    auto *window = new QWidget(nullptr, Qt::Window);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->setWindowTitle(content->windowTitle());
    auto *layout = new QVBoxLayout(window);
    layout->setContentsMargins(0, 0, 0, 0);
    const QSize size = content->size();
    layout->addWidget(content);
    content->show();
    window->resize(size);
    return window;
}

void Popover::closeWithReason(CloseReason reason)
{
    m_reason = reason;
    close();
}

bool Popover::eventFilter(QObject *watched, QEvent *event)
{
    // A combo box's list hides while Escape's shortcut check passes through it, and the key press
    // itself then comes to the popover, which it would close. The check reaches the window first,
    // while the list is still open; the press reaches the widgets after.
    if (event->type() == QEvent::ShortcutOverride && watched->isWindowType()) {
        const QWidget *popup = QApplication::activePopupWidget();
        m_escapeClosedInnerPopup = isPlainEscape(event) && popup && popup != this;
    } else if (event->type() == QEvent::KeyPress && watched->isWidgetType() &&
               std::exchange(m_escapeClosedInnerPopup, false) && isPlainEscape(event) && isInside(watched)) {
        event->accept();
        return true;
    }
    return QFrame::eventFilter(watched, event);
}

bool Popover::isInside(QObject *object) const
{
    auto *widget = qobject_cast<QWidget *>(object);
    return widget && (widget == this || isAncestorOf(widget));
}

void Popover::keyPressEvent(QKeyEvent *event)
{
    if (isPlainEscape(event)) {
        closeWithReason(CloseReason::Escape);
        return;
    }
    QFrame::keyPressEvent(event);
}

void Popover::mousePressEvent(QMouseEvent *event)
{
    // A popup gets every click while it is open; QWidget closes it on one outside its frame.
    if (windowType() == Qt::Popup && !rect().contains(event->position().toPoint()))
        m_reason = CloseReason::OutsideClick;
    QFrame::mousePressEvent(event);
}

void Popover::closeEvent(QCloseEvent *event)
{
    if (m_shown && !std::exchange(m_willCloseSent, true))
        emit willClose(m_reason);
    QFrame::closeEvent(event);
}

void Popover::hideEvent(QHideEvent *event)
{
    QFrame::hideEvent(event);
    if (event->spontaneous() || !m_shown)
        return;
    qApp->removeEventFilter(this);
    if (!std::exchange(m_willCloseSent, true))
        emit willClose(m_reason);
    m_shown = false;
    m_willCloseSent = false;
    emit closed(std::exchange(m_reason, CloseReason::Standard));
}

void Popover::resizeEvent(QResizeEvent *event)
{
    QFrame::resizeEvent(event);
    layoutContent();
}

void Popover::updateSize()
{
    const QSize inside = contentSize();
    const int frame = 2 * frameWidth();
    resize(inside.width() + frame, inside.height() + detachStripHeight() + frame);
    layoutContent();
}

int Popover::detachStripHeight() const
{
    return m_detachable ? m_detachButton->sizeHint().height() : 0;
}

void Popover::layoutContent()
{
    const QRect inside = contentsRect();
    if (m_detachable) {
        const QSize button = m_detachButton->sizeHint();
        m_detachButton->setGeometry(inside.left() + inside.width() - button.width(), inside.top(),
                                    button.width(), button.height());
        m_detachButton->raise();
    }
    if (m_content)
        m_content->setGeometry(inside.adjusted(0, detachStripHeight(), 0, 0));
}
