#pragma once

#include "ui/contracts/PrintServices.h"

class UserDefaults;

// Printing as the print command runs it: the accessory with the stored options, the view that
// renders the rows, and the print window with its live preview.
class PrintWindowServices : public PrintServices
{
public:
    explicit PrintWindowServices(UserDefaults &defaults);

    std::unique_ptr<PrintAccessoryInterface> makeAccessory() override;
    std::unique_ptr<PrintViewInterface> makePrintView(const QList<SubContactRowPtr> &rows, PrintInfo &printInfo,
                                                      const PrintOptionsPtr &options) override;
    // Opens the print window and returns; the completion runs when the window closes.
    void runOperation(const Operation &operation) override;

private:
    UserDefaults &m_defaults;
};
