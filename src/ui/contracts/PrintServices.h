#pragma once

#include "ui/contracts/PrintAccessoryInterface.h"
#include "ui/contracts/PrintViewInterface.h"

#include <QFlags>

#include <functional>
#include <memory>

class PrintInfo;
class QWidget;

// Where the print command gets its accessory and view from, and how it runs a print: the
// printing part of the program provides them.
class PrintServices
{
public:
    // What the print panel shows beside the accessory.
    enum PanelOption
    {
        ShowsPaperSize = 4,
        ShowsOrientation = 8,
    };
    Q_DECLARE_FLAGS(PanelOptions, PanelOption)

    // One print: the panel with the accessory, then the view printed with the print info. The
    // completion runs when the panel has closed, whether anything was printed or not.
    struct Operation
    {
        PrintViewInterface *view = nullptr;
        PrintAccessoryInterface *accessory = nullptr;
        PrintInfo *printInfo = nullptr;
        PanelOptions panelOptions;
        // The panel is window-modal on it.
        QWidget *window = nullptr;
        std::function<void(bool success)> completion;
    };

    virtual ~PrintServices() = default;

    virtual std::unique_ptr<PrintAccessoryInterface> makeAccessory() = 0;
    virtual std::unique_ptr<PrintViewInterface> makePrintView(const QList<SubContactRowPtr> &rows,
                                                              PrintInfo &printInfo,
                                                              const PrintOptionsPtr &options) = 0;
    // Must not block: the panel runs as a sheet and the completion comes later.
    virtual void runOperation(const Operation &operation) = 0;
};

Q_DECLARE_OPERATORS_FOR_FLAGS(PrintServices::PanelOptions)
