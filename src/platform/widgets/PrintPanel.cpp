#include "platform/widgets/PrintPanel.h"

#include "platform/widgets/TestMode.h"

#include <QApplication>
#include <QPointer>
#include <QPrintDialog>
#include <QPrinter>

#include <optional>

namespace {

QList<QString> s_nextAnswers; // an empty path answers cancel
QList<PrintPanel::Record> s_shown;

std::optional<QString> answerForTest()
{
    if (s_nextAnswers.isEmpty() && !TestMode::isEnabled())
        return std::nullopt;
    const QString path = s_nextAnswers.isEmpty() ? QString() : s_nextAnswers.takeFirst();
    s_shown.append({path});
    return path;
}

void deliver(QWidget *window, const std::function<void(bool)> &completion, bool accepted)
{
    if (!completion)
        return;
    QObject *context = window ? static_cast<QObject *>(window) : qApp;
    QMetaObject::invokeMethod(
        context, [completion, accepted] { completion(accepted); }, Qt::QueuedConnection);
}

} // namespace

void PrintPanel::beginSheetModalForWindow(QWidget *window, QPrinter *printer, std::function<void(bool)> completion)
{
    if (const auto path = answerForTest()) {
        if (!path->isEmpty()) {
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setOutputFileName(*path);
        }
        deliver(window, completion, !path->isEmpty());
        return;
    }
    auto *dialog = new QPrintDialog(printer, window);
    dialog->setAttribute(Qt::WA_DeleteOnClose);
    QObject::connect(dialog, &QDialog::finished, dialog, [window = QPointer<QWidget>(window), completion](int result) {
        deliver(window, completion, result == QDialog::Accepted);
    });
    dialog->open();
}

void PrintPanel::setNextOutputFile(const QString &path)
{
    s_nextAnswers.append(path);
}

void PrintPanel::setNextCancel()
{
    s_nextAnswers.append(QString());
}

QList<PrintPanel::Record> PrintPanel::shownPanels()
{
    return s_shown;
}

void PrintPanel::resetTestState()
{
    s_nextAnswers.clear();
    s_shown.clear();
}
