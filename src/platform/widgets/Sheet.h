#pragma once

#include <QDialog>

#include <functional>
#include <optional>

// Base of the program's sheets and modal windows.
//
// As a sheet it is shown window-modal on a window and never blocks: endSheet() ends it with
// 1 (accepted or changed) or 0 (cancelled) and calls the completion with that code at once.
// Escape and the window's close button end it with 0.
//
// As a modal window, runModal() runs it application-modal until stopModalWithCode() (or the same
// ending as a sheet) gives the code to return, the way the progress window ends its run with -1000
// or -1001. A stop while no modal run is under way is ignored.
//
// A run started after beginModalSession() has a token: a stop that carries an older token (the late
// close of a job the user cancelled) is ignored, and one that carries the current token before the
// run has started makes that run return at once.
//
// Test hook: codes queued with setNextModalResponse() make the next runModal() calls return at
// once without showing anything. A test that wants the real run ends it with a queued call.
class Sheet : public QDialog
{
    Q_OBJECT

public:
    explicit Sheet(QWidget *parent = nullptr);

    void beginSheetModalForWindow(QWidget *window, std::function<void(int)> completion = {});
    void endSheet(int returnCode);
    bool isSheetOpen() const { return m_sheetOpen; }

    int runModal();
    void stopModalWithCode(int code);
    // The token of the next run; earlier tokens lose their say.
    quint64 beginModalSession();
    quint64 modalSessionToken() const { return m_sessionToken; }
    void stopModalWithCode(int code, quint64 sessionToken);
    bool isRunningModal() const { return m_runningModal; }

    // Every ending (endSheet, stopModalWithCode, accept, reject) comes through here.
    void done(int code) override;

    static void setNextModalResponse(int code);
    static void resetTestState();

signals:
    void sheetEnded(int returnCode);

private:
    std::function<void(int)> m_completion;
    bool m_sheetOpen = false;
    bool m_runningModal = false;
    quint64 m_sessionToken = 0;
    std::optional<int> m_pendingStop;
};
