#pragma once

#include "platform/widgets/Sheet.h"

#include <QPointer>

#include <functional>

class QLabel;
class QProgressBar;
class QPushButton;

// The small application-modal window that shows the progress of a file import or export while the
// work runs on the background pool, with a Cancel button. The main window makes one and reuses it.
//
// Each job begins a run and gets its token; the job's progress and its close reach the window
// through reporter() and carry that token, so a job that was cancelled and still finishes in the
// background can neither move the indicator nor end the run of a job started after it. The run
// ends with Stop when the job closed the window and Abort when the user cancelled (Cancel, Escape
// or the close button alike: the job's result is not there to use then).
class ProgressAlert : public Sheet
{
    Q_OBJECT

public:
    static constexpr int Stop = -1000;
    static constexpr int Abort = -1001;

    // What a background job holds: callable from any thread, each call posted to the window.
    class Reporter
    {
    public:
        Reporter() = default;
        Reporter(ProgressAlert *panel, quint64 token) : m_panel(panel), m_token(token) {}
        // Posted only when the whole percentage changes, so that a long job does not flood the
        // main thread.
        void setProgress(double value);
        void requestClose();

    private:
        QPointer<ProgressAlert> m_panel;
        quint64 m_token = 0;
        int m_lastPercent = -1;
    };

    explicit ProgressAlert(QWidget *parent = nullptr);

    QLabel *iconView() const { return m_iconView; }
    QLabel *alertMessage() const { return m_alertMessage; }
    QProgressBar *progressIndicator() const { return m_progressIndicator; }
    QPushButton *cancelButton() const { return m_cancelButton; }

    // A new run: message shown, indicator at 0, older jobs silenced. The run itself is runModal().
    Reporter beginRun(const QString &message);
    void setProgress(double value);
    double progress() const;
    // Closes the window: the run ends with Stop.
    void requestClose();

    void setProgress(double value, quint64 token);
    void requestClose(quint64 token);

    void reject() override;

private:
    QLabel *m_iconView;
    QLabel *m_alertMessage;
    QProgressBar *m_progressIndicator;
    QPushButton *m_cancelButton;
};
