#include "AccessoryFixture.h"

#include "print/AddressListTab.h"
#include "print/AddressTextSwitches.h"
#include "print/EnvelopeTab.h"
#include "print/EnvelopeTextRect.h"
#include "print/ItemTableModel.h"
#include "print/MailingLabelsTab.h"
#include "print/SharedOptionsBox.h"
#include "print/VerticalFontList.h"

#include <QCheckBox>
#include <QDoubleSpinBox>
#include <QMimeData>
#include <QSpinBox>

using namespace PrintKey;

namespace {

using AccessoryTabs = AccessoryFixture;

QStringList titles(const QVariantList &table)
{
    QStringList result;
    for (const QVariant &entry : table)
        result.append(entry.toMap().value(Title).toString());
    return result;
}

bool ticked(const QVariantList &table, const QString &title)
{
    for (const QVariant &entry : table) {
        if (entry.toMap().value(Title) == title)
            return entry.toMap().value(State).toBool();
    }
    return false;
}

std::unique_ptr<QMimeData> dragOf(ItemTableModel &model, int row)
{
    return std::unique_ptr<QMimeData>(model.mimeData({model.index(row)}));
}

} // namespace

TEST_F(AccessoryTabs, TheGridsColumnsTickItemsThatStayTicked)
{
    store(AddressListOptions, ItemTable, [] {
        QVariantList table = PrintOptionsDict::createPrintOptions()
                                 .value(AddressListOptions).toMap().value(ItemTable).toList();
        QVariantMap note = table.last().toMap();
        note.insert(State, true);
        table.last() = note;
        return table;
    }());
    const auto accessory = make(PrintStyleName::AddressList);
    accessory->setColumns({"Name", "Phone", "Email", "Nothing Such"});
    accessory->view();

    const QVariantList table = styleOptions(*accessory, AddressListOptions).value(ItemTable).toList();
    EXPECT_TRUE(ticked(table, "Phone"));
    EXPECT_TRUE(ticked(table, "Email"));
    EXPECT_TRUE(ticked(table, "Note"));
    EXPECT_FALSE(ticked(table, "Address"));
    EXPECT_EQ(table.size(), 17);
    EXPECT_EQ(saved().value(AddressListOptions).toMap().value(ItemTable).toList(), table);

    // The user unticks one; "Name" cannot be changed.
    ItemTableModel *model = accessory->addressListTab()->itemTable();
    EXPECT_FALSE(model->flags(model->index(0)).testFlag(Qt::ItemIsEnabled));
    EXPECT_FALSE(model->setData(model->index(0), Qt::Unchecked, Qt::CheckStateRole));
    const int phone = int(titles(table).indexOf("Phone"));
    EXPECT_TRUE(model->setData(model->index(phone), Qt::Unchecked, Qt::CheckStateRole));
    EXPECT_FALSE(ticked(saved().value(AddressListOptions).toMap().value(ItemTable).toList(), "Phone"));
}

TEST_F(AccessoryTabs, ItemsMoveOneAtATimeAndNeverAboveName)
{
    const auto accessory = make(PrintStyleName::AddressList);
    accessory->view();
    ItemTableModel *model = accessory->addressListTab()->itemTable();
    QSignalSpy preview(accessory.get(), &AccessoryViewController::previewChanged);
    const auto order = [&] { return titles(saved().value(AddressListOptions).toMap().value(ItemTable).toList()); };

    // "Email" is row 2: dropped above row 5 it lands at 4, above row 1 at 1.
    EXPECT_TRUE(model->dropMimeData(dragOf(*model, 2).get(), Qt::MoveAction, 5, 0, {}));
    EXPECT_EQ(order().indexOf("Email"), 4);
    EXPECT_EQ(order().indexOf("Address"), 1);
    EXPECT_TRUE(model->dropMimeData(dragOf(*model, 4).get(), Qt::MoveAction, 1, 0, {}));
    EXPECT_EQ(order().indexOf("Email"), 1);
    EXPECT_EQ(preview.count(), 2);

    // Above row 0, onto a row, from elsewhere, "Name" itself or several rows: refused.
    EXPECT_FALSE(model->canDropMimeData(dragOf(*model, 3).get(), Qt::MoveAction, 0, 0, {}));
    EXPECT_FALSE(model->canDropMimeData(dragOf(*model, 3).get(), Qt::MoveAction, -1, -1, model->index(5)));
    QMimeData text;
    text.setText(QStringLiteral("3"));
    EXPECT_FALSE(model->dropMimeData(&text, Qt::MoveAction, 5, 0, {}));
    EXPECT_EQ(model->mimeData({model->index(0)}), nullptr);
    EXPECT_EQ(model->mimeData({model->index(2), model->index(3)}), nullptr);
    EXPECT_TRUE(model->canDropMimeData(dragOf(*model, 3).get(), Qt::MoveAction, 17, 0, {}));
    EXPECT_EQ(order().first(), "Name");
    EXPECT_EQ(preview.count(), 2);
}

TEST_F(AccessoryTabs, TheLabelFilterTicksLabelsOrAll)
{
    const auto accessory = make(PrintStyleName::AddressList);
    accessory->view();
    AddressListTab *tab = accessory->addressListTab();
    const auto stored = [&] { return saved().value(AddressListOptions).toMap().value(SelectedLabels).toStringList(); };
    EXPECT_EQ(tab->labelTitles().mid(0, 4), (QStringList{"All", "home", "work", "other"}));
    EXPECT_EQ(tab->labelTitles().count("home"), 1);

    tab->chooseLabel("home");
    tab->chooseLabel("work");
    EXPECT_EQ(stored(), (QStringList{"home", "work"}));
    EXPECT_EQ(tab->tickedLabels(), (QStringList{"home", "work"}));
    tab->chooseLabel("home");
    tab->chooseLabel("work");
    EXPECT_EQ(stored(), QStringList{"All"});
    EXPECT_EQ(tab->tickedLabels(), QStringList{"All"});
    tab->chooseLabel("other");
    tab->chooseLabel("All");
    EXPECT_EQ(stored(), QStringList{"All"});
    EXPECT_EQ(tab->tickedLabels(), QStringList{"All"});
    tab->chooseLabel("All");
    EXPECT_EQ(tab->tickedLabels(), QStringList{"All"});
}

TEST_F(AccessoryTabs, OpeningThePanelShowsWhatWasStoredAndKeepsIt)
{
    QVariantMap options = PrintOptionsDict::createPrintOptions();
    QVariantMap list = options.value(AddressListOptions).toMap();
    list.insert(SelectedLabels, QStringList{"work", "Boat"});
    list.insert(PrintFrame, true);
    options.insert(AddressListOptions, list);
    QVariantMap labels = options.value(MailingLabelsOptions).toMap();
    labels.insert(PrintVertical, true);
    labels.insert(Keishou, QStringLiteral("様"));
    options.insert(MailingLabelsOptions, labels);
    QVariantMap envelope = options.value(EnvelopeOptions).toMap();
    envelope.insert(PrintVertical, true);
    envelope.insert(TextDirection, QStringLiteral("Up-Down"));
    envelope.insert(TextRectDict, QVariantMap{{"A4", "{{10, 20}, {300, 100}}"}});
    options.insert(EnvelopeOptions, envelope);
    defaults().setObject(options, DefaultsKey::PrintOptions);

    const auto accessory = make(PrintStyleName::Envelope);
    accessory->view();
    EXPECT_TRUE(accessory->mailingLabelsTab()->switches()->drawVerticalSwitch()->isChecked());
    EXPECT_TRUE(accessory->envelopeTab()->switches()->drawVerticalSwitch()->isChecked());
    EXPECT_EQ(accessory->addressListTab()->tickedLabels(), (QStringList{"work", "Boat"}));
    EXPECT_TRUE(accessory->addressListTab()->printFrameSwitch()->isChecked());
    // Set up as stored, the first update turns nothing.
    EXPECT_EQ(accessory->envelopeTab()->textRect(), QRectF(10, 20, 300, 100));
    const QVariantMap savedEnvelope = saved().value(EnvelopeOptions).toMap();
    EXPECT_TRUE(savedEnvelope.value(PrintVertical).toBool());
    EXPECT_EQ(savedEnvelope.value(TextDirection).toString(), "Up-Down");
    EXPECT_EQ(savedEnvelope.value(TextRectDict).toMap().value("A4").toString(), "{{10, 20}, {300, 100}}");

    accessory->selectStyle(PrintStyleName::MailingLabels);
    const QVariantMap savedLabels = saved().value(MailingLabelsOptions).toMap();
    EXPECT_TRUE(savedLabels.value(PrintVertical).toBool());
    EXPECT_EQ(savedLabels.value(Keishou).toString(), QStringLiteral("様"));
    accessory->selectStyle(PrintStyleName::AddressList);
    EXPECT_EQ(saved().value(AddressListOptions).toMap().value(SelectedLabels).toStringList(),
              (QStringList{"work", "Boat"}));
}

TEST_F(AccessoryTabs, APresetGivesItsSizesInTheShownUnit)
{
    const auto accessory = make(PrintStyleName::MailingLabels);
    accessory->view();
    MailingLabelsTab *tab = accessory->mailingLabelsTab();
    QSignalSpy preview(accessory.get(), &AccessoryViewController::previewChanged);
    // Six presets, then the disabled place of a preset editor.
    ASSERT_EQ(tab->presetPopup()->count(), 7);
    EXPECT_EQ(tab->presetPopup()->currentIndex(), 0);

    choose(accessory->sharedControls()->unitTypePopup(), 2);
    choose(tab->presetPopup(), 5);
    EXPECT_NEAR(tab->widthField()->value(), 69.99, 1e-9);
    EXPECT_NEAR(tab->heightField()->value(), 37.00, 1e-9);
    EXPECT_EQ(tab->hGapField()->value(), 0);
    const QVariantMap labels = saved().value(MailingLabelsOptions).toMap();
    EXPECT_NEAR(labels.value(LabelWidth).toDouble(), 198.4, 0.02);
    EXPECT_NEAR(labels.value(LabelHeight).toDouble(), 104.88, 0.02);
    EXPECT_EQ(preview.count(), 1);

    choose(tab->presetPopup(), 6);
    EXPECT_NEAR(tab->widthField()->value(), 69.99, 1e-9);
    EXPECT_EQ(preview.count(), 1);

    tab->repeatCountField()->setValue(3);
    EXPECT_EQ(saved().value(MailingLabelsOptions).toMap().value(RepeatCount).toInt(), 3);
    tab->switches()->printCompanySwitch()->click();
    EXPECT_TRUE(saved().value(MailingLabelsOptions).toMap().value(PrintCompany).toBool());
    EXPECT_EQ(preview.count(), 3);
}

TEST_F(AccessoryTabs, TheEnvelopeBoxDefaultsToTheMiddleOfThePaperAndStaysOnIt)
{
    const auto accessory = make(PrintStyleName::Envelope);
    accessory->view();
    EnvelopeTab *tab = accessory->envelopeTab();
    EXPECT_NEAR(tab->widthField()->value(), 198.33, 1e-9);
    EXPECT_NEAR(tab->heightField()->value(), 168.4, 1e-9);
    EXPECT_NEAR(tab->originXField()->value(), 198.33, 1e-9);
    EXPECT_NEAR(tab->originYField()->value(), 336.8, 1e-9);

    tab->widthField()->setValue(0);
    EXPECT_NEAR(tab->widthField()->value(), 29.75, 1e-9);
    tab->originXField()->setValue(600);
    EXPECT_NEAR(tab->originXField()->value(), 565.25, 1e-9);
    tab->originXField()->setValue(-50);
    EXPECT_NEAR(tab->originXField()->value(), -20, 1e-9);
    tab->heightField()->setValue(2000);
    EXPECT_NEAR(tab->heightField()->value(), 842, 1e-9);
    const auto rect = [&] {
        return EnvelopeTextRect::fromString(
                   saved().value(EnvelopeOptions).toMap().value(TextRectDict).toMap().value("A4").toString())
            .value_or(QRectF());
    };
    EXPECT_NEAR(rect().x(), -20, 1e-4);
    EXPECT_NEAR(rect().y(), 336.8, 1e-4);
    EXPECT_NEAR(rect().width(), 29.75, 1e-4);
    EXPECT_NEAR(rect().height(), 842, 1e-4);

    // The text turns: its box turns once; the same direction again turns nothing.
    tab->heightField()->setValue(100);
    choose(tab->directionPopup(), 1);
    EXPECT_NEAR(rect().width(), 100, 1e-4);
    EXPECT_NEAR(rect().height(), 29.75, 1e-4);
    EXPECT_EQ(saved().value(EnvelopeOptions).toMap().value(TextDirection).toString(), "Up-Down");
    choose(tab->directionPopup(), 1);
    EXPECT_NEAR(rect().width(), 100, 1e-4);
}

TEST_F(AccessoryTabs, EachPaperKeepsItsOwnEnvelopeBox)
{
    store(EnvelopeOptions, TextRectDict, QVariantMap{{"Letter", "{{1, 2}, {3, 4}}"}, {"A4", "{{0, 0}, {0, 0}}"}});
    const auto accessory = make(PrintStyleName::Envelope);
    accessory->view();
    // A box that covers nothing is no box.
    EXPECT_NEAR(accessory->envelopeTab()->widthField()->value(), 198.33, 1e-9);
    const QVariantMap rects = saved().value(EnvelopeOptions).toMap().value(TextRectDict).toMap();
    EXPECT_EQ(rects.value("Letter").toString(), "{{1, 2}, {3, 4}}");
    EXPECT_NEAR(EnvelopeTextRect::fromString(rects.value("A4").toString())->width(), 198.33, 1e-4);
}

TEST(EnvelopeTextRect, ReadsWhatItWritesAndCopesWithLess)
{
    const QRectF rect(198.33, 336.8, -20.5, 1e-3);
    EXPECT_EQ(EnvelopeTextRect::fromString(EnvelopeTextRect::toString(rect)), rect);
    EXPECT_EQ(EnvelopeTextRect::fromString("{{5, 6}}"), QRectF(5, 6, 0, 0));
    EXPECT_FALSE(EnvelopeTextRect::fromString("nothing"));
}

TEST(VerticalFontList, OffersJapaneseFamiliesAndThePrinterFontsOnly)
{
    EXPECT_EQ(VerticalFontList::from({"Noto Serif CJK JP", ".Hidden", "MS Mincho", "Noto Serif CJK JP"},
                                     {"EPSON-KAISHO", "DejaVu Sans", "EPSON-KAISHO"}),
              (QStringList{"EPSON-KAISHO", "Noto Serif CJK JP"}));
    EXPECT_EQ(VerticalFontList::from({}, {"DejaVu Sans"}), QStringList{PrintOptionsDict::defaultFontName()});
}
