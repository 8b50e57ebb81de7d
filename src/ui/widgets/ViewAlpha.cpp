#include "ui/widgets/ViewAlpha.h"

#include <QGraphicsOpacityEffect>
#include <QPainter>
#include <QPixmap>
#include <QPropertyAnimation>
#include <QVariantAnimation>
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

// A still picture of a view, drawn over its place at a given opacity.
class FadingPicture : public QWidget
{
public:
    FadingPicture(const QPixmap &picture, QWidget *parent) : QWidget(parent), m_picture(picture)
    {
        setAttribute(Qt::WA_TransparentForMouseEvents);
    }

    void setOpacity(double opacity)
    {
        m_opacity = opacity;
        update();
    }

protected:
    void paintEvent(QPaintEvent *) override
    {
        QPainter painter(this);
        painter.setOpacity(m_opacity);
        painter.drawPixmap(rect(), m_picture);
    }

private:
    QPixmap m_picture;
    double m_opacity = 1.0;
};

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

// Not an opacity effect on each view: a scroll area's viewport is drawn past its parent's effect,
// so the views would keep showing stale pixels until the next resize.
QAbstractAnimation *crossFade(QWidget *outgoing, QWidget *incoming, int milliseconds)
{
    const QRect place = outgoing->geometry();
    const QPixmap picture = outgoing->isVisible() ? outgoing->grab() : QPixmap();
    setAlpha(outgoing, 1.0);
    outgoing->hide();
    setAlpha(incoming, 1.0);
    incoming->show();

    auto *animation = new QVariantAnimation(incoming);
    animation->setStartValue(1.0);
    animation->setEndValue(0.0);
    animation->setDuration(milliseconds);
    if (!picture.isNull() && outgoing->parentWidget()) {
        auto *cover = new FadingPicture(picture, outgoing->parentWidget());
        cover->setGeometry(place);
        cover->show();
        cover->raise();
        QObject::connect(animation, &QVariantAnimation::valueChanged, cover,
                         [cover](const QVariant &opacity) { cover->setOpacity(opacity.toDouble()); });
        QObject::connect(animation, &QObject::destroyed, cover, &QObject::deleteLater);
    }
    animation->start(QAbstractAnimation::DeleteWhenStopped);
    return animation;
}

} // namespace ViewAlpha
