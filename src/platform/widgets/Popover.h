#pragma once

#include <QFrame>
#include <QPointer>

#include <functional>
#include <utility>

class QToolButton;

// A frame that shows one content widget next to a rectangle of the widget that presents it.
//
// Transient popovers are Qt::Popup windows: a click outside or Escape closes them. Semi-transient
// ones are tool windows that let the rest of the program be used and close only through close()
// (their content's buttons) or Escape. An Escape that closes a list or menu opened over the
// content closes only that list: the popover stays, and so does what was typed in it. Every
// closing is reported by willClose() and then closed(); the presenter does its write-back in
// closed() and deletes the popover later (deleteLater), never inside the signal.
//
// A detachable popover shows a detach button. Detaching asks the factory for a window (nullptr
// keeps the popover as it is); without a factory the content itself moves into a new top-level
// window. The window is shown where the popover was, detached() reports it, and the popover
// closes with the reason Detached.
class Popover : public QFrame
{
    Q_OBJECT

public:
    enum class Behavior
    {
        Transient,
        Semitransient
    };
    // The side of the anchor rectangle to show on. Widget coordinates grow downwards, so MaxY is
    // below the rectangle and MaxX to its right.
    enum class Edge
    {
        MinX,
        MinY,
        MaxX,
        MaxY
    };
    enum class CloseReason
    {
        Standard,
        OutsideClick,
        Escape,
        Detached
    };
    Q_ENUM(CloseReason)

    explicit Popover(QWidget *parent = nullptr);

    // The popover owns the content; a content it replaces is deleted later, so a presenter may
    // still read it while handling the change.
    void setContentWidget(QWidget *content);
    QWidget *contentWidget() const { return m_content; }
    void setContentSize(const QSize &size);
    QSize contentSize() const;

    // Takes effect at the next showing.
    void setBehavior(Behavior behavior) { m_behavior = behavior; }
    Behavior behavior() const { return m_behavior; }
    void setDetachable(bool detachable);
    bool isDetachable() const { return m_detachable; }
    void setDetachedWindowFactory(std::function<QWidget *()> factory)
    {
        m_windowFactory = std::move(factory);
    }

    // rect is in ofWidget's coordinates. Showing a shown popover moves it to the new anchor.
    void showRelativeToRect(const QRect &rect, QWidget *ofWidget, Edge preferredEdge);
    bool isShown() const { return m_shown; }
    void detach();

    // Top-left corner for a popover of size next to anchor (global coordinates): on the
    // preferred edge, on the opposite one when only that fits, and moved inside screen.
    static QPoint placement(const QRect &anchor, const QSize &size, Edge preferredEdge, const QRect &screen);

signals:
    void willClose(Popover::CloseReason reason);
    void closed(Popover::CloseReason reason);
    void detached(QWidget *window);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void hideEvent(QHideEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;

private:
    void closeWithReason(CloseReason reason);
    bool isInside(QObject *object) const;
    QWidget *windowWithContent();
    void updateSize();
    int detachStripHeight() const;
    void layoutContent();

    QPointer<QWidget> m_content;
    QToolButton *m_detachButton = nullptr;
    QSize m_contentSize;
    // Where it was last placed, so that a content that grows once shown is placed again.
    QRect m_anchor;
    QRect m_screenArea;
    Edge m_edge = Edge::MaxY;
    Behavior m_behavior = Behavior::Transient;
    bool m_detachable = false;
    std::function<QWidget *()> m_windowFactory;
    bool m_shown = false;
    bool m_willCloseSent = false;
    // The Escape being delivered was taken by a list or menu open over the content.
    bool m_escapeClosedInnerPopup = false;
    CloseReason m_reason = CloseReason::Standard;
};
