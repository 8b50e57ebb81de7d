#pragma once

#include <QComboBox>

// A popup of the detail table. The wheel scrolls the table instead of changing the choice, so
// that scrolling past a label popup never relabels a value.
class DetailPopupButton : public QComboBox
{
    Q_OBJECT

public:
    explicit DetailPopupButton(QWidget *parent = nullptr);

protected:
    void wheelEvent(QWheelEvent *event) override;
};
