#include "PrintFixture.h"

#include "addressbook/DefaultsKey.h"
#include "platform/PrintInfo.h"
#include "print/AccessoryViewController.h"

#include <QSignalSpy>
#include <QTabBar>
#include <QTabWidget>

using namespace PrintKey;

namespace {

class Accessory : public PrintFixture
{
protected:
    // An accessory as the print command makes it: the style set before the panel shows it.
    std::unique_ptr<AccessoryViewController> make(const QString &style)
    {
        auto accessory = std::make_unique<AccessoryViewController>(defaults());
        accessory->printOptions()->insert(PrintStyle, style);
        accessory->setPrintInfo(&m_info);
        return accessory;
    }
    QVariantMap saved() { return defaults().dictionaryForKey(DefaultsKey::PrintOptions); }

    PrintInfo m_info;
};

} // namespace

TEST_F(Accessory, SettingUpShowsTheStylesTabAndSavesTheOptionsOverOldOnes)
{
    QVariantMap old = PrintOptionsDict::createPrintOptions();
    old.insert(Version, 5);
    old.insert(FontSize, 30);
    defaults().setObject(old, DefaultsKey::PrintOptions);

    const auto accessory = make(PrintStyleName::MailingLabels);
    EXPECT_EQ(accessory->printOptions()->value(FontSize), QVariant(8));
    // Nothing is written before the panel shows the accessory.
    EXPECT_EQ(saved().value(Version), QVariant(5));

    auto *tabs = accessory->view()->findChild<QTabWidget *>();
    ASSERT_TRUE(tabs);
    EXPECT_EQ(tabs->count(), 3);
    EXPECT_EQ(accessory->selectedStyle(), PrintStyleName::MailingLabels);
    EXPECT_EQ(accessory->currentStyle(), PrintStyleName::MailingLabels);
    EXPECT_EQ(m_info.value("FenwardePrintType").toString(), PrintStyleName::MailingLabels);
    EXPECT_EQ(defaults().stringForKey(DefaultsKey::LastPrintStyle), PrintStyleName::MailingLabels);
    EXPECT_EQ(saved(), *accessory->printOptions());
    EXPECT_EQ(saved().value(FontSize), QVariant(8));
}

TEST_F(Accessory, AnotherStyleIsRememberedAndTheSameOneOnlyUpdatesAndSaves)
{
    const auto accessory = make(PrintStyleName::AddressList);
    accessory->view();
    QSignalSpy preview(accessory.get(), &AccessoryViewController::previewChanged);

    defaults().removeObjectForKey(DefaultsKey::LastPrintStyle);
    defaults().removeObjectForKey(DefaultsKey::PrintOptions);
    accessory->selectStyle(PrintStyleName::AddressList);
    EXPECT_FALSE(defaults().objectForKey(DefaultsKey::LastPrintStyle).isValid());
    EXPECT_EQ(saved(), *accessory->printOptions());
    EXPECT_EQ(preview.count(), 1);

    auto *tabs = accessory->view()->findChild<QTabWidget *>();
    tabs->setCurrentIndex(2);
    EXPECT_EQ(defaults().stringForKey(DefaultsKey::LastPrintStyle), PrintStyleName::Envelope);
    EXPECT_EQ(accessory->printOptions()->value(PrintStyle).toString(), PrintStyleName::Envelope);
    EXPECT_EQ(saved().value(PrintStyle).toString(), PrintStyleName::Envelope);
    EXPECT_EQ(m_info.value("FenwardePrintType").toString(), PrintStyleName::Envelope);
    EXPECT_EQ(preview.count(), 2);
}

TEST_F(Accessory, AStyleWithoutATabShowsTheFirstAndAnEmptyLabelFilterBecomesAll)
{
    const auto accessory = make(PrintStyleName::Hagaki);
    QVariantMap list = accessory->printOptions()->value(AddressListOptions).toMap();
    list.insert(SelectedLabels, QVariantList());
    accessory->printOptions()->insert(AddressListOptions, list);
    accessory->view();
    EXPECT_EQ(accessory->selectedStyle(), PrintStyleName::AddressList);
    EXPECT_EQ(accessory->printOptions()->value(PrintStyle).toString(), PrintStyleName::AddressList);
    EXPECT_EQ(accessory->printOptions()->value(AddressListOptions).toMap().value(SelectedLabels).toStringList(),
              QStringList{"All"});

    accessory->setColumns({"Name", "Phone"});
    EXPECT_EQ(accessory->columnsInMainView(), (QStringList{"Name", "Phone"}));
}
