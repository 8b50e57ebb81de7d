#pragma once

#include "platform/widgets/Sheet.h"
#include "ui/contracts/PrintServices.h"

#include <QPointer>

#include <functional>
#include <memory>

class AccessoryViewController;
class PrintInfo;
class PrintView;
class QComboBox;
class QPrintPreviewWidget;
class QPrinter;
class QPushButton;

// The print window: window-modal on the main window, the accessory beside a live preview of the
// pages, the paper and orientation, Cancel and Print. Print asks for the printer (or a PDF file)
// and prints the same pages the preview shows. The completion runs once, when the window closes:
// true after a print, false after Cancel.
//
// The view, the accessory and the print info belong to the print command and stay alive until the
// completion has run; the accessory's view is lent to the window and given back before then. A
// change of paper or orientation is told to the accessory, whose envelope box is kept per paper.
class PrintWindow : public Sheet
{
    Q_OBJECT

public:
    PrintWindow(PrintView &view, PrintAccessoryInterface *accessory, PrintInfo &printInfo,
                PrintServices::PanelOptions options, QWidget *window);
    ~PrintWindow() override;

    void begin(std::function<void(bool success)> completion);

    // Asks for the printer; prints and closes when one is chosen.
    void print();
    void cancel();

    QPrintPreviewWidget *preview() const { return m_preview; }
    QComboBox *paperSizePopup() const { return m_paperSize; }
    QComboBox *orientationPopup() const { return m_orientation; }
    QPushButton *printButton() const { return m_printButton; }

private:
    QWidget *makeControls(PrintServices::PanelOptions options);
    void renderPreview(QPrinter *printer);
    void paperChanged();
    void printerChosen(bool accepted);
    void giveBackAccessory();

    PrintView &m_view;
    PrintInfo &m_printInfo;
    QPointer<AccessoryViewController> m_accessory;
    QPointer<QWidget> m_accessoryView;
    std::unique_ptr<QPrinter> m_previewPrinter;
    std::unique_ptr<QPrinter> m_printer;
    QPrintPreviewWidget *m_preview = nullptr;
    QComboBox *m_paperSize = nullptr;
    QComboBox *m_orientation = nullptr;
    QPushButton *m_printButton = nullptr;
};
