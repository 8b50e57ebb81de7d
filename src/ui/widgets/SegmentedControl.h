#pragma once

#include <QIcon>
#include <QList>
#include <QWidget>

class QToolButton;

// A row of joined buttons, each a segment with a label or an image. A click selects the segment it
// hit for as long as the action runs (momentary tracking), so a handler reads selectedSegment()
// to learn which one was pressed.
class SegmentedControl : public QWidget
{
    Q_OBJECT

public:
    explicit SegmentedControl(int segmentCount, QWidget *parent = nullptr);

    int segmentCount() const { return int(m_segments.size()); }
    // -1 while none is selected.
    int selectedSegment() const { return m_selectedSegment; }
    void setSelectedSegment(int segment);

    void setLabel(const QString &label, int segment);
    QString label(int segment) const;
    void setImage(const QIcon &image, int segment);
    QIcon image(int segment) const;
    void setToolTip(const QString &toolTip, int segment);
    QToolButton *segmentButton(int segment) const { return m_segments.value(segment); }

    // What a click on the segment does: selects it and sends the action.
    void performClick(int segment);

signals:
    void action(SegmentedControl *sender);

private:
    QList<QToolButton *> m_segments;
    int m_selectedSegment = -1;
};
