#pragma once

#include <QList>
#include <QString>

#include <functional>

class QPrinter;
class QWidget;

// Asks for the printer (or a PDF file) to print on: the desktop's print dialog, window-modal on a
// window, never blocking. The completion tells whether the user chose to print; the printer then
// holds the choice. The caller keeps the printer alive until the completion has run.
//
// Test hooks: answers queued with setNextOutputFile() (print to that PDF file) or setNextCancel()
// answer the next panels without showing them; under TestMode a panel with nothing queued answers
// cancel. Panels answered so are recorded in shownPanels(). The completion runs from the event
// loop, as it would after a click.
class PrintPanel
{
public:
    struct Record
    {
        // The PDF file chosen; empty for a cancel.
        QString outputFile;
    };

    void beginSheetModalForWindow(QWidget *window, QPrinter *printer, std::function<void(bool)> completion);

    static void setNextOutputFile(const QString &path);
    static void setNextCancel();
    static QList<Record> shownPanels();
    static void resetTestState();
};
