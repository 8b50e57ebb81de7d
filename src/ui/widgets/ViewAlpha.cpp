#include "ui/widgets/ViewAlpha.h"

#include <QGraphicsOpacityEffect>
#include <QPropertyAnimation>
#include <QWidget>

namespace {

QGraphicsOpacityEffect *opacityEffect(const QWidget *view)
{
    return qobject_cast<QGraphicsOpacityEffect *>(view->graphicsEffect());
}

QGraphicsOpacityEffect *ensureOpacityEffect(QWidget *view)
{
    QGraphicsOpacityEffect *effect = opacityEffect(view);
    if (!effect) {
        effect = new QGraphicsOpacityEffect(view);
        effect->setEnabled(false);
        view->setGraphicsEffect(effect);
    }
    return effect;
}

} // namespace

namespace ViewAlpha {

double alpha(const QWidget *view)
{
    const QGraphicsOpacityEffect *effect = view ? opacityEffect(view) : nullptr;
    return effect && effect->isEnabled() ? effect->opacity() : 1.0;
}

// The effect stays once made, so that an animation still running on it keeps its target.
void setAlpha(QWidget *view, double alpha)
{
    if (!view)
        return;
    QGraphicsOpacityEffect *effect = opacityEffect(view);
    if (!effect && alpha >= 1.0)
        return;
    effect = ensureOpacityEffect(view);
    effect->setOpacity(qBound(0.0, alpha, 1.0));
    effect->setEnabled(alpha < 1.0);
}

QPropertyAnimation *animation(QWidget *view, double alpha, int milliseconds)
{
    const double from = ViewAlpha::alpha(view);
    QGraphicsOpacityEffect *effect = ensureOpacityEffect(view);
    effect->setOpacity(from);
    effect->setEnabled(true);
    auto *animation = new QPropertyAnimation(effect, "opacity");
    animation->setStartValue(from);
    animation->setEndValue(qBound(0.0, alpha, 1.0));
    animation->setDuration(milliseconds);
    QObject::connect(animation, &QPropertyAnimation::finished, view,
                     [view, alpha] { setAlpha(view, alpha); });
    return animation;
}

} // namespace ViewAlpha
