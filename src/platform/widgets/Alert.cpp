#include "platform/widgets/Alert.h"

#include "platform/Localizer.h"
#include "platform/widgets/TestMode.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>

#include <memory>

namespace {

QList<int> s_nextAnswers;
QList<Alert::Record> s_shown;

QMessageBox::Icon iconFor(Alert::Style style)
{
    switch (style) {
    case Alert::Style::Informational:
        return QMessageBox::Information;
    case Alert::Style::Critical:
        return QMessageBox::Critical;
    case Alert::Style::Warning:
        break;
    }
    return QMessageBox::Warning;
}

int responseFor(const QList<QAbstractButton *> &buttons, QAbstractButton *clicked, int cancelButton)
{
    const int index = buttons.indexOf(clicked);
    if (index >= 0)
        return Alert::FirstButton + index;
    return Alert::FirstButton + qMax(cancelButton, 0);
}

// Completions run from the event loop, like after a click; a window closed meanwhile drops them.
void deliver(QWidget *window, const std::function<void(int)> &completion, int response)
{
    if (!completion)
        return;
    QObject *context = window ? static_cast<QObject *>(window) : qApp;
    QMetaObject::invokeMethod(
        context, [completion, response] { completion(response); }, Qt::QueuedConnection);
}

} // namespace

void Alert::addButton(const QString &title, ButtonRole role)
{
    if (role == ButtonRole::Cancel && m_cancelButton < 0)
        m_cancelButton = int(m_buttons.size());
    m_buttons.append(title);
}

QStringList Alert::buttonTitles() const
{
    return m_buttons.isEmpty() ? QStringList{L(QStringLiteral("OK"))} : m_buttons;
}

bool Alert::answerForTest(bool asSheet, int *response) const
{
    if (s_nextAnswers.isEmpty() && !TestMode::isEnabled())
        return false;
    *response = s_nextAnswers.isEmpty() ? FirstButton : s_nextAnswers.takeFirst();
    s_shown.append({m_messageText, m_informativeText, buttonTitles(), m_style, asSheet, *response});
    return true;
}

QMessageBox *Alert::makeBox(QWidget *parent, QList<QAbstractButton *> *buttons) const
{
    auto *box = new QMessageBox(parent);
    box->setIcon(iconFor(m_style));
    box->setTextFormat(Qt::PlainText);
    box->setText(m_messageText);
    box->setInformativeText(m_informativeText);
    const QStringList titles = buttonTitles();
    for (int i = 0; i < titles.size(); ++i) {
        // The roles only place the buttons the desktop's way round; answers go by position.
        const auto role = i == 0                ? QMessageBox::AcceptRole
                          : i == m_cancelButton ? QMessageBox::RejectRole
                                                : QMessageBox::ActionRole;
        buttons->append(box->addButton(titles.at(i), role));
    }
    box->setDefaultButton(qobject_cast<QPushButton *>(buttons->first()));
    if (m_cancelButton >= 0)
        box->setEscapeButton(buttons->at(m_cancelButton));
    return box;
}

int Alert::runModal()
{
    int response = 0;
    if (answerForTest(false, &response))
        return response;
    QList<QAbstractButton *> buttons;
    std::unique_ptr<QMessageBox> box(makeBox(nullptr, &buttons));
    box->exec();
    return responseFor(buttons, box->clickedButton(), m_cancelButton);
}

void Alert::beginSheetModalForWindow(QWidget *window, std::function<void(int)> completion)
{
    int response = 0;
    if (answerForTest(true, &response)) {
        deliver(window, completion, response);
        return;
    }
    QList<QAbstractButton *> buttons;
    QMessageBox *box = makeBox(window, &buttons);
    QObject::connect(
        box, &QMessageBox::finished, box, [box, buttons, cancelButton = m_cancelButton, window, completion] {
            box->deleteLater();
            deliver(window, completion, responseFor(buttons, box->clickedButton(), cancelButton));
        });
    if (window) {
        box->open();
    } else {
        box->setWindowModality(Qt::ApplicationModal);
        box->show();
    }
}

void Alert::setNextAnswer(int response)
{
    s_nextAnswers.append(response);
}

QList<Alert::Record> Alert::shownAlerts()
{
    return s_shown;
}

Alert::Record Alert::lastShown()
{
    return s_shown.isEmpty() ? Record{} : s_shown.constLast();
}

void Alert::resetTestState()
{
    s_nextAnswers.clear();
    s_shown.clear();
}
