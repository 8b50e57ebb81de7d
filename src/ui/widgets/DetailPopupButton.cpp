#include "ui/widgets/DetailPopupButton.h"

#include <QWheelEvent>

DetailPopupButton::DetailPopupButton(QWidget *parent) : QComboBox(parent)
{
    setFocusPolicy(Qt::NoFocus);
}

void DetailPopupButton::wheelEvent(QWheelEvent *event)
{
    event->ignore();
}
