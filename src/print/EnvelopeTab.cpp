#include "print/EnvelopeTab.h"

#include "platform/Localizer.h"
#include "print/AddressTextSwitches.h"
#include "print/EnvelopeTextRect.h"
#include "print/PrintControls.h"
#include "print/PrintKeys.h"
#include "print/PrintUnit.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>

#include <algorithm>

using namespace PrintKey;

namespace {

const QString LeftRight = QStringLiteral("Left-Right");
const QString UpDown = QStringLiteral("Up-Down");
// How far the box may start off the paper, in the shown unit.
constexpr double OriginLowerBound = -20;

QHBoxLayout *pair(QWidget *first, QWidget *second)
{
    auto *row = new QHBoxLayout;
    row->addWidget(first);
    row->addWidget(second);
    return row;
}

} // namespace

EnvelopeTab::EnvelopeTab(QWidget *parent) : QWidget(parent), m_unit(PrintUnit::Points)
{
    m_switches = new AddressTextSwitches(this);
    m_direction = new QComboBox(this);
    m_direction->addItem(L(LeftRight), LeftRight);
    m_direction->addItem(L(UpDown), UpDown);
    m_x = PrintControls::makeLengthBox(this);
    m_y = PrintControls::makeLengthBox(this);
    m_width = PrintControls::makeLengthBox(this);
    m_height = PrintControls::makeLengthBox(this);

    auto *layout = new QFormLayout(this);
    layout->addRow(m_switches);
    layout->addRow(L(QStringLiteral("Text Direction:")), m_direction);
    layout->addRow(L(QStringLiteral("Text Origin:")), pair(m_x, m_y));
    layout->addRow(L(QStringLiteral("Text Size:")), pair(m_width, m_height));

    connect(m_switches, &AddressTextSwitches::changed, this, &EnvelopeTab::changed);
    connect(m_direction, &QComboBox::activated, this, &EnvelopeTab::changed);
    for (QDoubleSpinBox *box : lengths())
        connect(box, &QDoubleSpinBox::valueChanged, this, [this, box] { textSizeChanged(box); });
}

void EnvelopeTab::setUp(QVariantMap &options, const QStringList &verticalFonts, const Paper &paper,
                        const QString &unit)
{
    m_switches->setUp(options, verticalFonts);
    // Shown as stored, so that the next update turns the box only when the user turns the text.
    PrintControls::selectQuietly(m_direction, options.value(TextDirection).toString());
    m_unit = unit;
    showPaper(options, paper);
}

void EnvelopeTab::showPaper(const QVariantMap &options, const Paper &paper)
{
    m_paper = paper;
    const std::optional<QRectF> stored =
        EnvelopeTextRect::fromString(options.value(TextRectDict).toMap().value(paper.name).toString());
    // A box that covers nothing would print nothing: the paper's default takes its place.
    const QRectF rect = stored && stored->width() > 0 && stored->height() > 0
                            ? *stored
                            : EnvelopeTextRect::defaultRect(paper.size);
    const auto show = [this](QDoubleSpinBox *box, double points) {
        PrintControls::setQuietly(box, PrintUnit::changeValue(float(points), PrintUnit::Points, m_unit));
        box->setSingleStep(PrintUnit::step(m_unit));
    };
    show(m_x, rect.x());
    show(m_y, rect.y());
    show(m_width, rect.width());
    show(m_height, rect.height());
}

QSizeF EnvelopeTab::paperInUnit() const
{
    return {PrintUnit::changeValue(float(m_paper.size.width()), PrintUnit::Points, m_unit),
            PrintUnit::changeValue(float(m_paper.size.height()), PrintUnit::Points, m_unit)};
}

void EnvelopeTab::textSizeChanged(QDoubleSpinBox *sender)
{
    const QSizeF paper = paperInUnit();
    double value = sender->value();
    if (sender == m_x)
        value = std::max(OriginLowerBound, std::min(value, 0.95 * paper.width()));
    else if (sender == m_y)
        value = std::max(OriginLowerBound, std::min(value, 0.95 * paper.height()));
    else if (sender == m_width)
        value = std::max(0.05 * paper.width(), std::min(paper.width(), value));
    else if (sender == m_height)
        value = std::max(0.05 * paper.height(), std::min(paper.height(), value));
    PrintControls::setQuietly(sender, value);
    emit changed();
}

void EnvelopeTab::changeUnit(const QString &unit)
{
    for (QDoubleSpinBox *box : lengths())
        PrintControls::convertQuietly(box, m_unit, unit);
    m_unit = unit;
}

QRectF EnvelopeTab::textRect() const
{
    return {m_x->value(), m_y->value(), m_width->value(), m_height->value()};
}

void EnvelopeTab::write(QVariantMap &options)
{
    m_switches->write(options);
    const QString direction = m_direction->currentData().toString();
    if (direction != options.value(TextDirection).toString()) {
        options.insert(TextDirection, direction);
        const double width = m_width->value();
        PrintControls::setQuietly(m_width, m_height->value());
        PrintControls::setQuietly(m_height, width);
    }
    const auto points = [this](const QDoubleSpinBox *box) {
        return double(PrintUnit::changeValue(float(box->value()), m_unit, PrintUnit::Points));
    };
    QVariantMap rects = options.value(TextRectDict).toMap();
    rects.insert(m_paper.name,
                 EnvelopeTextRect::toString(QRectF(points(m_x), points(m_y), points(m_width), points(m_height))));
    options.insert(TextRectDict, rects);
}
