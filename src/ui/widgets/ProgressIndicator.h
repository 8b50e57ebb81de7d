#pragma once

#include <QTimer>
#include <QWidget>

// The spinning wheel shown while the address book loads.
class ProgressIndicator : public QWidget
{
    Q_OBJECT

public:
    explicit ProgressIndicator(QWidget *parent = nullptr);

    void startAnimation();
    void stopAnimation();
    bool isAnimating() const { return m_timer.isActive(); }
    // Draws the wheel into its window at once, over what the window last showed there, and paints
    // nothing else: for a main thread too busy to paint, where a widget beneath may be in no state
    // to be drawn. Qt draws it again, with what lies beneath, once the event loop has control.
    void paintNow();

    QSize sizeHint() const override;

signals:
    void animatingChanged(bool animating);

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    QTimer m_timer;
    int m_step = 0;
};
