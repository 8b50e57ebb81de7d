// The main window's Print command: the selected grid rows go to a print view, with the print
// panel's accessory for style and options.

#include "app/WindowController.h"

#include "addressbook/DefaultsKey.h"
#include "app/ViewController.h"
#include "platform/PrintInfo.h"
#include "platform/UserDefaults.h"

#include <QPointer>

namespace {

const QString PrintTypeKey = QStringLiteral("FenwardePrintType");

} // namespace

void WindowController::setPrintServices(std::unique_ptr<PrintServices> services)
{
    m_printServices = std::move(services);
}

// The print type handed to the print info is the style the view is made for; the accessory
// changes both together afterwards.
void WindowController::printDocument()
{
    const QList<SubContactRowPtr> rows =
        m_mainViewController->contactsViewController()->selectedSubContacts();
    // One print at a time: the panel of the last one is still open.
    if (rows.isEmpty() || !m_printServices || m_printView)
        return;
    QString style = m_defaults.stringForKey(DefaultsKey::LastPrintStyle);
    if (style.isEmpty())
        style = DefaultsKey::DefaultPrintStyle;
    PrintInfo &printInfo = PrintInfo::shared();
    printInfo.setValue(PrintTypeKey, style);

    m_printAccessory = m_printServices->makeAccessory();
    const PrintOptionsPtr options = m_printAccessory->printOptions();
    options->insert(QStringLiteral("printStyle"), style);

    m_printView = m_printServices->makePrintView(rows, printInfo, options);
    m_printView->setPrinting(true);
    printInfo.setMargins(QMarginsF());
    printInfo.setHorizontallyCentered(false);
    printInfo.setVerticallyCentered(false);
    m_printView->setPrintInfo(&printInfo);
    m_printView->setOptions(options);
    m_printView->setSelectedStyle(style);
    m_printView->setReceiverPersons(rows);
    m_printView->setSenderPerson(nullptr);

    m_printAccessory->setPrintView(m_printView.get());
    m_printAccessory->setColumns(m_defaults.dictionaryForKey(DefaultsKey::ViewTypeDict)
                                     .value(m_defaults.stringForKey(DefaultsKey::SelectedViewType))
                                     .toStringList());

    PrintServices::Operation operation;
    operation.view = m_printView.get();
    operation.accessory = m_printAccessory.get();
    operation.printInfo = &printInfo;
    operation.panelOptions = PrintServices::ShowsPaperSize | PrintServices::ShowsOrientation;
    operation.window = this;
    operation.completion = [window = QPointer<WindowController>(this)](bool success) {
        if (window)
            window->printOperationDidRun(success);
    };
    m_printServices->runOperation(operation);
}

// The view and the accessory were kept for the panel; the result needs nothing further.
void WindowController::printOperationDidRun(bool)
{
    m_printAccessory.reset();
    m_printView.reset();
}
