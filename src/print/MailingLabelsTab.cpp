#include "print/MailingLabelsTab.h"

#include "platform/Localizer.h"
#include "print/AddressTextSwitches.h"
#include "print/OptionValue.h"
#include "print/PrintControls.h"
#include "print/PrintKeys.h"
#include "print/PrintUnit.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QStandardItemModel>

using namespace PrintKey;

namespace {

// More labels per contact than anyone prints would only make a print without end.
constexpr int MaxRepeatCount = 1000;
// A label must keep some size: the sheet is divided by it.
constexpr double MinimumLabelSize = 0.01;

} // namespace

MailingLabelsTab::MailingLabelsTab(QWidget *parent) : QWidget(parent), m_unit(PrintUnit::Points)
{
    m_presets = new QComboBox(this);
    m_width = PrintControls::makeLengthBox(this, MinimumLabelSize);
    m_height = PrintControls::makeLengthBox(this, MinimumLabelSize);
    m_hGap = PrintControls::makeLengthBox(this, 0);
    m_vGap = PrintControls::makeLengthBox(this, 0);
    m_repeatCount = new QSpinBox(this);
    m_repeatCount->setRange(1, MaxRepeatCount);
    m_repeatCount->setKeyboardTracking(false);
    m_switches = new AddressTextSwitches(this);

    auto *layout = new QFormLayout(this);
    layout->addRow(L(QStringLiteral("Preset:")), m_presets);
    layout->addRow(L(QStringLiteral("Width:")), m_width);
    layout->addRow(L(QStringLiteral("Height:")), m_height);
    layout->addRow(L(QStringLiteral("Horizontal Gap:")), m_hGap);
    layout->addRow(L(QStringLiteral("Vertical Gap:")), m_vGap);
    layout->addRow(L(QStringLiteral("Repeat Count:")), m_repeatCount);
    layout->addRow(m_switches);

    connect(m_presets, &QComboBox::activated, this, &MailingLabelsTab::choosePreset);
    for (QDoubleSpinBox *box : lengths())
        connect(box, &QDoubleSpinBox::valueChanged, this, &MailingLabelsTab::changed);
    connect(m_repeatCount, &QSpinBox::valueChanged, this, &MailingLabelsTab::changed);
    connect(m_switches, &AddressTextSwitches::changed, this, &MailingLabelsTab::changed);
}

void MailingLabelsTab::setUp(QVariantMap &options, const QStringList &verticalFonts)
{
    fillPresets(options.value(PresetArray).toList());
    m_unit = PrintUnit::Points;
    PrintControls::setQuietly(m_width, OptionValue::toDouble(options.value(LabelWidth)));
    PrintControls::setQuietly(m_height, OptionValue::toDouble(options.value(LabelHeight)));
    PrintControls::setQuietly(m_vGap, OptionValue::toDouble(options.value(VGap)));
    PrintControls::setQuietly(m_hGap, OptionValue::toDouble(options.value(HGap)));
    for (QDoubleSpinBox *box : lengths())
        box->setSingleStep(PrintUnit::step(m_unit));
    PrintControls::setQuietly(m_repeatCount, int(OptionValue::toInteger(options.value(RepeatCount))));
    m_switches->setUp(options, verticalFonts);
}

void MailingLabelsTab::fillPresets(const QVariantList &presets)
{
    const QSignalBlocker blocker(m_presets);
    m_presets->clear();
    // The presets the program offers have their names in the user's language; the user's own
    // names show as they are.
    for (const QVariant &preset : presets) {
        const QString name = preset.toMap().value(PresetName).toString();
        m_presets->addItem(L(name), preset);
    }
    // No preset editor: the item only shows where one would be.
    m_presets->addItem(L(QStringLiteral("Add/Delete...")));
    if (auto *items = qobject_cast<QStandardItemModel *>(m_presets->model()))
        items->item(m_presets->count() - 1)->setEnabled(false);
    m_presets->setCurrentIndex(0);
}

void MailingLabelsTab::choosePreset(int index)
{
    const QVariantMap preset = m_presets->itemData(index).toMap();
    if (preset.isEmpty())
        return;
    const auto show = [this, &preset](QDoubleSpinBox *box, const QString &key) {
        PrintControls::setQuietly(box, PrintUnit::changeValue(float(OptionValue::toDouble(preset.value(key))),
                                                              PrintUnit::Points, m_unit));
    };
    show(m_width, LabelWidth);
    show(m_height, LabelHeight);
    show(m_vGap, VGap);
    show(m_hGap, HGap);
    emit changed();
}

void MailingLabelsTab::changeUnit(const QString &unit)
{
    for (QDoubleSpinBox *box : lengths())
        PrintControls::convertQuietly(box, m_unit, unit);
    m_unit = unit;
}

void MailingLabelsTab::write(QVariantMap &options) const
{
    const auto points = [this](const QDoubleSpinBox *box) {
        return double(PrintUnit::changeValue(float(box->value()), m_unit, PrintUnit::Points));
    };
    options.insert(LabelHeight, points(m_height));
    options.insert(LabelWidth, points(m_width));
    options.insert(VGap, points(m_vGap));
    options.insert(HGap, points(m_hGap));
    options.insert(RepeatCount, m_repeatCount->value());
    m_switches->write(options);
}
