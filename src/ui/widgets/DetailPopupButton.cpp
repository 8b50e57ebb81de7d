#include "ui/widgets/DetailPopupButton.h"

#include "platform/Localizer.h"

#include <QWheelEvent>

DetailPopupButton::DetailPopupButton(QWidget *parent) : QComboBox(parent)
{
    setFocusPolicy(Qt::NoFocus);
}

DetailPopupButton *DetailPopupButton::withKeys(const QStringList &keys, int selected, const QFont &font)
{
    auto *popup = new DetailPopupButton;
    popup->setFont(font);
    for (const QString &key : keys)
        popup->addItem(L(key));
    popup->setCurrentIndex(selected < popup->count() ? selected : -1);
    popup->setMaximumSize(popup->sizeHint());
    return popup;
}

void DetailPopupButton::wheelEvent(QWheelEvent *event)
{
    event->ignore();
}
