#include "ui/widgets/SegmentedControl.h"

#include <QHBoxLayout>
#include <QToolButton>

SegmentedControl::SegmentedControl(int segmentCount, QWidget *parent) : QWidget(parent)
{
    auto *layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    for (int segment = 0; segment < segmentCount; ++segment) {
        auto *button = new QToolButton(this);
        button->setToolButtonStyle(Qt::ToolButtonTextOnly);
        button->setFocusPolicy(Qt::NoFocus);
        layout->addWidget(button);
        m_segments.append(button);
        connect(button, &QToolButton::clicked, this, [this, segment] { performClick(segment); });
    }
}

void SegmentedControl::setSelectedSegment(int segment)
{
    m_selectedSegment = segment >= 0 && segment < segmentCount() ? segment : -1;
}

void SegmentedControl::setLabel(const QString &label, int segment)
{
    if (QToolButton *button = segmentButton(segment)) {
        button->setText(label);
        button->setToolButtonStyle(button->icon().isNull() ? Qt::ToolButtonTextOnly
                                                           : Qt::ToolButtonTextBesideIcon);
    }
}

QString SegmentedControl::label(int segment) const
{
    const QToolButton *button = segmentButton(segment);
    return button ? button->text() : QString();
}

void SegmentedControl::setImage(const QIcon &image, int segment)
{
    QToolButton *button = segmentButton(segment);
    if (!button)
        return;
    button->setIcon(image);
    button->setToolButtonStyle(button->text().isEmpty() ? Qt::ToolButtonIconOnly
                                                        : Qt::ToolButtonTextBesideIcon);
}

QIcon SegmentedControl::image(int segment) const
{
    const QToolButton *button = segmentButton(segment);
    return button ? button->icon() : QIcon();
}

void SegmentedControl::setToolTip(const QString &toolTip, int segment)
{
    if (QToolButton *button = segmentButton(segment))
        button->setToolTip(toolTip);
}

void SegmentedControl::performClick(int segment)
{
    if (!isEnabled() || !segmentButton(segment))
        return;
    m_selectedSegment = segment;
    emit action(this);
    m_selectedSegment = -1;
}
