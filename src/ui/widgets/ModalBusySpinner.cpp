#include "ui/widgets/ModalBusySpinner.h"

#include "ui/widgets/ProgressIndicator.h"

#include <QApplication>
#include <QPointer>

namespace {

QPointer<ProgressIndicator> s_spinner;

} // namespace

namespace ModalBusySpinner {

void show(bool busy)
{
    delete s_spinner.data();
    QWidget *window = QApplication::activeModalWidget();
    if (!busy || !window || !window->isVisible())
        return;
    auto *spinner = new ProgressIndicator(window);
    QRect frame(QPoint(), spinner->sizeHint());
    frame.moveCenter(window->rect().center());
    spinner->setGeometry(frame);
    spinner->startAnimation();
    spinner->show();
    spinner->raise();
    spinner->paintNow();
    s_spinner = spinner;
}

} // namespace ModalBusySpinner
