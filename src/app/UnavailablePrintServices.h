#pragma once

#include "ui/contracts/PrintServices.h"

class UserDefaults;

// Stands in for printing until the program can print: the accessory reads the stored options as
// the real one would, the view draws nothing, and running a print says that printing is not
// available yet. Nothing is written to the defaults.
class UnavailablePrintServices : public PrintServices
{
public:
    explicit UnavailablePrintServices(UserDefaults &defaults);

    std::unique_ptr<PrintAccessoryInterface> makeAccessory() override;
    std::unique_ptr<PrintViewInterface> makePrintView(const QList<SubContactRowPtr> &rows,
                                                      PrintInfo &printInfo,
                                                      const PrintOptionsPtr &options) override;
    void runOperation(const Operation &operation) override;

    // Options older than this are replaced by new ones.
    static constexpr int OptionsVersion = 6;

private:
    UserDefaults &m_defaults;
};
