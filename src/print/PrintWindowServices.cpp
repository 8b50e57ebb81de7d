#include "print/PrintWindowServices.h"

#include "platform/Log.h"
#include "print/AccessoryViewController.h"
#include "print/PrintView.h"
#include "print/PrintWindow.h"

#include <QCoreApplication>

PrintWindowServices::PrintWindowServices(UserDefaults &defaults) : m_defaults(defaults) {}

std::unique_ptr<PrintAccessoryInterface> PrintWindowServices::makeAccessory()
{
    return std::make_unique<AccessoryViewController>(m_defaults);
}

std::unique_ptr<PrintViewInterface> PrintWindowServices::makePrintView(const QList<SubContactRowPtr> &rows,
                                                                       PrintInfo &printInfo,
                                                                       const PrintOptionsPtr &options)
{
    return std::make_unique<PrintView>(rows, printInfo, options);
}

void PrintWindowServices::runOperation(const Operation &operation)
{
    auto *view = dynamic_cast<PrintView *>(operation.view);
    if (!view || !operation.printInfo) {
        // Only views made here can be rendered; the print ends as if cancelled.
        Log::write(QStringLiteral("PrintWindowServices: no view of ours to print"));
        if (const auto completion = operation.completion)
            QMetaObject::invokeMethod(qApp, [completion] { completion(false); }, Qt::QueuedConnection);
        return;
    }
    if (auto *accessory = dynamic_cast<AccessoryViewController *>(operation.accessory))
        accessory->setPrintInfo(operation.printInfo);
    auto *window = new PrintWindow(*view, operation.accessory, *operation.printInfo, operation.panelOptions,
                                   operation.window);
    window->begin(operation.completion);
}
