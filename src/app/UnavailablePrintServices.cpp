#include "app/UnavailablePrintServices.h"

#include "addressbook/DefaultsKey.h"
#include "platform/Localizer.h"
#include "platform/UserDefaults.h"
#include "platform/widgets/Alert.h"

namespace {

class Accessory : public PrintAccessoryInterface
{
public:
    explicit Accessory(PrintOptionsPtr options) : m_options(std::move(options)) {}

    PrintOptionsPtr printOptions() override { return m_options; }
    void setPrintView(PrintViewInterface *) override {}
    void setColumns(const QStringList &) override {}
    QWidget *view() override { return nullptr; }

private:
    PrintOptionsPtr m_options;
};

class BlankView : public PrintViewInterface
{
public:
    void setPrinting(bool) override {}
    void setPrintInfo(PrintInfo *) override {}
    void setOptions(const PrintOptionsPtr &) override {}
    void setSelectedStyle(const QString &) override {}
    void setReceiverPersons(const QList<SubContactRowPtr> &) override {}
    void setSenderPerson(const QNPersonPtr &) override {}
};

} // namespace

UnavailablePrintServices::UnavailablePrintServices(UserDefaults &defaults) : m_defaults(defaults) {}

std::unique_ptr<PrintAccessoryInterface> UnavailablePrintServices::makeAccessory()
{
    QVariantMap options = m_defaults.dictionaryForKey(DefaultsKey::PrintOptions);
    if (options.value(QStringLiteral("Version")).toInt() < OptionsVersion)
        options = {{QStringLiteral("Version"), OptionsVersion}};
    return std::make_unique<Accessory>(std::make_shared<QVariantMap>(options));
}

std::unique_ptr<PrintViewInterface>
UnavailablePrintServices::makePrintView(const QList<SubContactRowPtr> &, PrintInfo &, const PrintOptionsPtr &)
{
    return std::make_unique<BlankView>();
}

void UnavailablePrintServices::runOperation(const Operation &operation)
{
    Alert alert;
    alert.setAlertStyle(Alert::Style::Informational);
    alert.setMessageText(L(QStringLiteral("Printing is not available yet.")));
    alert.addButton(L(QStringLiteral("OK")));
    const auto completion = operation.completion;
    alert.beginSheetModalForWindow(operation.window, [completion](int) {
        if (completion)
            completion(false);
    });
}
