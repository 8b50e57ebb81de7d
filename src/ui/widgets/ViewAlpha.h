#pragma once

class QAbstractAnimation;
class QPropertyAnimation;
class QWidget;

// A view's opacity, 0 to 1, as an opacity effect on the widget. At 1 the effect is switched off:
// scroll areas draw slower and less crisply through an effect.
namespace ViewAlpha {

double alpha(const QWidget *view);
void setAlpha(QWidget *view, double alpha);
// An animation of the view's opacity from its current value to alpha; the caller runs it. At its
// end the view is left as setAlpha(alpha) leaves it.
QPropertyAnimation *animation(QWidget *view, double alpha, int milliseconds);
// Fades from outgoing to incoming, two views lying in the same place: incoming is shown at once
// under a picture of outgoing, which fades out; outgoing is hidden. The animation runs already and
// deletes itself, and the picture with it, when it ends or is stopped.
QAbstractAnimation *crossFade(QWidget *outgoing, QWidget *incoming, int milliseconds);

} // namespace ViewAlpha
