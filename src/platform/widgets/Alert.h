#pragma once

#include <QList>
#include <QString>
#include <QStringList>

#include <functional>

class QAbstractButton;
class QMessageBox;
class QWidget;

// A message with up to three buttons, run application-modal or shown as a sheet on a window.
// The answer is the button's place: 1000 for the first button added, 1001 for the second, 1002
// for the third. The first button is the default one (Return); Escape answers the button added
// as the cancel button, or the only button. Callers pass texts already localised.
//
// Test hooks: answers queued with setNextAnswer() answer the next alerts without showing them;
// under TestMode an alert with no queued answer answers the first button. Alerts answered so
// are recorded in shownAlerts(). runModal() then returns at once; a sheet's completion runs
// from the event loop, as it would after a click, so a test processes events to see it.
class Alert
{
public:
    enum class Style
    {
        Warning,
        Informational,
        Critical
    };
    enum class ButtonRole
    {
        Normal,
        Cancel
    };
    enum Response
    {
        FirstButton = 1000,
        SecondButton = 1001,
        ThirdButton = 1002
    };

    struct Record
    {
        QString messageText;
        QString informativeText;
        QStringList buttons;
        Style style = Style::Warning;
        bool asSheet = false;
        int answer = 0;
    };

    Alert() = default;

    void setMessageText(const QString &text) { m_messageText = text; }
    QString messageText() const { return m_messageText; }
    void setInformativeText(const QString &text) { m_informativeText = text; }
    QString informativeText() const { return m_informativeText; }
    void setAlertStyle(Style style) { m_style = style; }
    Style alertStyle() const { return m_style; }

    // Buttons keep the order they are added in; an alert given none shows "OK".
    void addButton(const QString &title, ButtonRole role = ButtonRole::Normal);
    QStringList buttons() const { return m_buttons; }

    int runModal();
    // Window-modal on window (application-modal when it is null); completion, when given, gets
    // the answer after the alert has closed.
    void beginSheetModalForWindow(QWidget *window, std::function<void(int)> completion = {});

    static void setNextAnswer(int response);
    static QList<Record> shownAlerts();
    // The last recorded alert; an empty record when none was.
    static Record lastShown();
    static void resetTestState();

private:
    QStringList buttonTitles() const;
    bool answerForTest(bool asSheet, int *response) const;
    QMessageBox *makeBox(QWidget *parent, QList<QAbstractButton *> *buttons) const;

    QString m_messageText;
    QString m_informativeText;
    QStringList m_buttons;
    int m_cancelButton = -1;
    Style m_style = Style::Warning;
};
