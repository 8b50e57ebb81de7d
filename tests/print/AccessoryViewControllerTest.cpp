#include "AccessoryFixture.h"

#include "print/PrintUnit.h"
#include "print/SharedOptionsBox.h"

#include <QDoubleSpinBox>
#include <QFontDialog>
#include <QLineEdit>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>

using namespace PrintKey;

namespace {

using Accessory = AccessoryFixture;

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
}

TEST(PrintUnit, ConvertsBetweenPointsInchesAndMillimetres)
{
    EXPECT_FLOAT_EQ(PrintUnit::changeValue(72, PrintUnit::Points, PrintUnit::Inches), 1.0f);
    EXPECT_FLOAT_EQ(PrintUnit::changeValue(36, PrintUnit::Points, PrintUnit::Inches), 0.5f);
    EXPECT_FLOAT_EQ(PrintUnit::changeValue(72, PrintUnit::Points, PrintUnit::Millimetres), 25.4f);
    EXPECT_FLOAT_EQ(PrintUnit::changeValue(1, PrintUnit::Inches, PrintUnit::Points), 72.0f);
    EXPECT_FLOAT_EQ(PrintUnit::changeValue(2, PrintUnit::Inches, PrintUnit::Millimetres), 50.8f);
    EXPECT_FLOAT_EQ(PrintUnit::changeValue(25.4f, PrintUnit::Millimetres, PrintUnit::Points), 72.0f);
    EXPECT_FLOAT_EQ(PrintUnit::changeValue(25.4f, PrintUnit::Millimetres, PrintUnit::Inches), 1.0f);
    EXPECT_FLOAT_EQ(PrintUnit::changeValue(5, QStringLiteral("cubits"), PrintUnit::Inches), 5.0f);
    EXPECT_FLOAT_EQ(PrintUnit::changeValue(5, PrintUnit::Points, QStringLiteral("cubits")), 5.0f);
}

TEST_F(Accessory, AChangeOfUnitConvertsEveryLengthAndSavesNothing)
{
    QVariantMap options = PrintOptionsDict::createPrintOptions();
    options.insert(TopMargin, 72);
    options.insert(LeftMargin, 36);
    defaults().setObject(options, DefaultsKey::PrintOptions);
    const auto accessory = make(PrintStyleName::AddressList);
    accessory->view();
    SharedOptionsBox *shared = accessory->sharedControls();
    QSignalSpy preview(accessory.get(), &AccessoryViewController::previewChanged);
    defaults().removeObjectForKey(DefaultsKey::PrintOptions);

    choose(shared->unitTypePopup(), 1);
    EXPECT_EQ(accessory->lastUnitType(), PrintUnit::Inches);
    EXPECT_DOUBLE_EQ(shared->topMarginField()->value(), 1.0);
    EXPECT_DOUBLE_EQ(shared->leftMarginField()->value(), 0.5);
    EXPECT_DOUBLE_EQ(shared->topMarginField()->singleStep(), 0.1);
    choose(shared->unitTypePopup(), 2);
    EXPECT_DOUBLE_EQ(shared->topMarginField()->value(), 25.4);
    EXPECT_DOUBLE_EQ(shared->topMarginField()->singleStep(), 1.0);
    EXPECT_EQ(preview.count(), 0);
    EXPECT_FALSE(defaults().objectForKey(DefaultsKey::PrintOptions).isValid());

    // What the fields show in millimetres is stored in points at the next change.
    shared->rightMarginField()->setValue(25.4);
    EXPECT_NEAR(saved().value(RightMargin).toDouble(), 72.0, 1e-3);
    EXPECT_NEAR(saved().value(TopMargin).toDouble(), 72.0, 1e-3);
    EXPECT_EQ(preview.count(), 1);
}

TEST_F(Accessory, MarginsStayWithinTheirShareOfThePaper)
{
    const auto accessory = make(PrintStyleName::AddressList);
    accessory->view();
    SharedOptionsBox *shared = accessory->sharedControls();

    shared->topMarginField()->setValue(1000);
    EXPECT_NEAR(shared->topMarginField()->value(), 799.9, 1e-6);
    EXPECT_NEAR(saved().value(TopMargin).toDouble(), 799.9, 1e-3);
    shared->bottomMarginField()->setValue(-1000);
    EXPECT_NEAR(shared->bottomMarginField()->value(), -799.9, 1e-6);
    shared->leftMarginField()->setValue(1000);
    EXPECT_NEAR(shared->leftMarginField()->value(), 565.25, 1e-6);
    shared->rightMarginField()->setValue(20);
    EXPECT_NEAR(saved().value(RightMargin).toDouble(), 20.0, 1e-6);
}

TEST_F(Accessory, OnlyTheAddressListHasAFontSize)
{
    const auto accessory = make(PrintStyleName::AddressList);
    accessory->view();
    QSpinBox *size = accessory->sharedControls()->fontSizeField();
    EXPECT_TRUE(size->isEnabled());
    accessory->selectStyle(PrintStyleName::MailingLabels);
    EXPECT_FALSE(size->isEnabled());
    accessory->selectStyle(PrintStyleName::Envelope);
    EXPECT_FALSE(size->isEnabled());
    accessory->selectStyle(PrintStyleName::AddressList);
    EXPECT_TRUE(size->isEnabled());

    size->setValue(12);
    EXPECT_EQ(saved().value(FontSize).toInt(), 12);
}

TEST_F(Accessory, TheFontPanelSetsNameAndSizeWithoutWaiting)
{
    const auto accessory = make(PrintStyleName::AddressList);
    accessory->view();
    QSignalSpy preview(accessory.get(), &AccessoryViewController::previewChanged);

    accessory->showFontsButtonPressed();
    ASSERT_TRUE(accessory->fontPanel());
    EXPECT_TRUE(accessory->fontPanel()->isVisible());
    QFont font(QStringLiteral("DejaVu Serif"));
    font.setPointSizeF(14.6);
    emit accessory->fontPanel()->currentFontChanged(font);
    EXPECT_EQ(accessory->sharedControls()->fontNameField()->text(), font.family());
    EXPECT_EQ(saved().value(FontName).toString(), font.family());
    EXPECT_EQ(saved().value(FontSize).toInt(), 14);
    EXPECT_EQ(preview.count(), 1);
}
