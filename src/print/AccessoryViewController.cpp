#include "print/AccessoryViewController.h"

#include "addressbook/DefaultsKey.h"
#include "platform/Localizer.h"
#include "platform/PrintInfo.h"
#include "platform/UserDefaults.h"
#include "print/AddressListTab.h"
#include "print/EnvelopeTab.h"
#include "print/EnvelopeTextRect.h"
#include "print/ItemTableModel.h"
#include "print/MailingLabelsTab.h"
#include "print/OptionValue.h"
#include "print/PrintControls.h"
#include "print/PrintKeys.h"
#include "print/PrintOptionsDict.h"
#include "print/PrintUnit.h"
#include "print/SharedOptionsBox.h"
#include "print/VerticalFontList.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFontDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>

using namespace PrintKey;

namespace {

const QString PrintTypeKey = QStringLiteral("FenwardePrintType");

} // namespace

AccessoryViewController::AccessoryViewController(UserDefaults &defaults, QObject *parent)
    : QObject(parent), m_defaults(defaults),
      m_options(std::make_shared<QVariantMap>(PrintOptionsDict::load(defaults))), m_lastUnitType(PrintUnit::Points)
{
}

AccessoryViewController::~AccessoryViewController()
{
    delete m_fontPanel.data();
}

QStringList AccessoryViewController::styles()
{
    return {PrintStyleName::AddressList, PrintStyleName::MailingLabels, PrintStyleName::Envelope};
}

void AccessoryViewController::setColumns(const QStringList &columns)
{
    m_columnsInMainView = columns;
    QVariantMap list = styleOptions(AddressListOptions);
    QVariantList table = list.value(ItemTable).toList();
    ItemTableModel::tickColumns(table, columns);
    list.insert(ItemTable, table);
    m_options->insert(AddressListOptions, list);
}

QWidget *AccessoryViewController::view()
{
    if (!m_view) {
        m_view = std::make_unique<OwnedView<QWidget>>(makeView());
        m_verticalFonts = VerticalFontList::make();
        // The first selection must count as a change, whichever tab shows already.
        m_currentStyle.clear();
        setUpAddressList();
        setUpMailingLabels();
        setUpEnvelope();
        connectControls();
        selectStyle(m_options->value(PrintStyle).toString());
    }
    return m_view->get();
}

QWidget *AccessoryViewController::makeView()
{
    auto *view = new QWidget;
    view->setObjectName(QStringLiteral("AccessoryView"));
    auto *layout = new QVBoxLayout(view);
    layout->setContentsMargins(0, 0, 0, 0);
    m_styleTab = new QTabWidget(view);
    // Every style's tab in sight: there are only a few.
    m_styleTab->setUsesScrollButtons(false);
    m_addressList = new AddressListTab(m_styleTab);
    m_mailingLabels = new MailingLabelsTab(m_styleTab);
    m_envelope = new EnvelopeTab(m_styleTab);
    const QList<QWidget *> pages{m_addressList, m_mailingLabels, m_envelope};
    for (qsizetype i = 0; i < pages.size(); ++i) {
        const QString style = styles().at(i);
        pages.at(i)->setObjectName(style);
        const int index = m_styleTab->addTab(pages.at(i), L(style));
        m_styleTab->tabBar()->setTabData(index, style);
    }
    m_shared = new SharedOptionsBox(view);
    layout->addWidget(m_styleTab, 1);
    layout->addWidget(m_shared);
    return view;
}

void AccessoryViewController::connectControls()
{
    connect(m_styleTab, &QTabWidget::currentChanged, this, &AccessoryViewController::styleSelected);
    connect(m_addressList, &AddressListTab::changed, this, &AccessoryViewController::updateUI);
    connect(m_mailingLabels, &MailingLabelsTab::changed, this, &AccessoryViewController::updateUI);
    connect(m_envelope, &EnvelopeTab::changed, this, &AccessoryViewController::updateUI);
    connect(m_shared->unitTypePopup(), &QComboBox::activated, this, &AccessoryViewController::unitTypePopupChanged);
    for (QDoubleSpinBox *field : m_shared->marginFields())
        connect(field, &QDoubleSpinBox::valueChanged, this, [this, field] { marginChanged(field); });
    connect(m_shared->fontSizeField(), &QSpinBox::valueChanged, this, &AccessoryViewController::updateUI);
    connect(m_shared->fontNameField(), &QLineEdit::editingFinished, this, [this] {
        if (m_shared->fontNameField()->text() != m_options->value(FontName).toString())
            updateUI();
    });
    connect(m_shared->showFontButton(), &QPushButton::clicked, this,
            &AccessoryViewController::showFontsButtonPressed);
}

void AccessoryViewController::selectStyle(const QString &style)
{
    if (!m_styleTab)
        view();
    // A style without a tab of its own shows the first.
    const int index = std::max(static_cast<int>(styles().indexOf(style)), 0);
    if (index == m_styleTab->currentIndex())
        styleSelected(index);
    else
        m_styleTab->setCurrentIndex(index);
}

QString AccessoryViewController::selectedStyle() const
{
    return m_styleTab ? m_styleTab->tabBar()->tabData(m_styleTab->currentIndex()).toString() : QString();
}

void AccessoryViewController::styleSelected(int index)
{
    const QString style = m_styleTab->tabBar()->tabData(index).toString();
    if (style != m_currentStyle) {
        m_currentStyle = style;
        m_defaults.setObject(style, DefaultsKey::LastPrintStyle);
        setUpTab(style);
        showSharedValues();
    }
    updateUI();
}

void AccessoryViewController::setUpTab(const QString &style)
{
    // Only the address list has a font size of its own; labels and envelopes fit their text.
    bool fontSized = false;
    if (style == PrintStyleName::AddressList) {
        setUpAddressList();
        fontSized = true;
    } else if (style == PrintStyleName::MailingLabels) {
        setUpMailingLabels();
    } else if (style == PrintStyleName::Envelope) {
        setUpEnvelope();
    } else if (style != PrintStyleName::Hagaki) {
        return;
    }
    m_shared->fontSizeField()->setEnabled(fontSized);
}

void AccessoryViewController::setUpAddressList()
{
    QVariantMap list = styleOptions(AddressListOptions);
    QVariantList table = list.value(ItemTable).toList();
    ItemTableModel::tickColumns(table, m_columnsInMainView);
    list.insert(ItemTable, table);
    m_addressList->setUp(list);
    selectStoredUnit();
}

void AccessoryViewController::setUpMailingLabels()
{
    QVariantMap labels = styleOptions(MailingLabelsOptions);
    m_mailingLabels->setUp(labels, m_verticalFonts);
    // The set-up may have chosen the vertical font.
    m_options->insert(MailingLabelsOptions, labels);
    selectStoredUnit();
}

void AccessoryViewController::setUpEnvelope()
{
    QVariantMap envelope = styleOptions(EnvelopeOptions);
    m_envelope->setUp(envelope, m_verticalFonts, paper(), m_lastUnitType);
    m_options->insert(EnvelopeOptions, envelope);
}

void AccessoryViewController::paperChanged()
{
    if (m_envelope)
        m_envelope->showPaper(styleOptions(EnvelopeOptions), paper());
}

void AccessoryViewController::selectStoredUnit()
{
    // The label sizes have just been shown in points: they follow the stored unit from there.
    QComboBox *popup = m_shared->unitTypePopup();
    PrintControls::selectQuietly(popup, m_options->value(UnitType).toString());
    m_lastUnitType = popup->currentData().toString();
    m_mailingLabels->changeUnit(m_lastUnitType);
}

void AccessoryViewController::showSharedValues()
{
    m_shared->fontNameField()->setText(m_options->value(FontName).toString());
    PrintControls::setQuietly(m_shared->fontSizeField(), int(OptionValue::toInteger(m_options->value(FontSize))));
    const QStringList keys{TopMargin, LeftMargin, RightMargin, BottomMargin};
    const QList<QDoubleSpinBox *> fields = m_shared->marginFields();
    for (qsizetype i = 0; i < keys.size(); ++i) {
        const float points = float(OptionValue::toDouble(m_options->value(keys.at(i))));
        PrintControls::setQuietly(fields.at(i), PrintUnit::changeValue(points, PrintUnit::Points, m_lastUnitType));
        fields.at(i)->setSingleStep(PrintUnit::step(m_lastUnitType));
    }
}

void AccessoryViewController::updateUI()
{
    if (m_styleTab)
        updatePrintOptions();
    setPrintStyle(m_currentStyle);
    PrintOptionsDict::save(m_defaults, *m_options);
    emit previewChanged();
}

void AccessoryViewController::updatePrintOptions()
{
    const QString style = selectedStyle();
    m_options->insert(PrintStyle, style);
    m_options->insert(FontSize, m_shared->fontSizeField()->value());
    m_options->insert(FontName, m_shared->fontNameField()->text());
    const QStringList keys{TopMargin, LeftMargin, RightMargin, BottomMargin};
    const QList<QDoubleSpinBox *> fields = m_shared->marginFields();
    for (qsizetype i = 0; i < keys.size(); ++i) {
        const float value = float(fields.at(i)->value());
        m_options->insert(keys.at(i), double(PrintUnit::changeValue(value, m_lastUnitType, PrintUnit::Points)));
    }
    if (style == PrintStyleName::AddressList) {
        QVariantMap list = styleOptions(AddressListOptions);
        m_addressList->write(list);
        m_options->insert(AddressListOptions, list);
    } else if (style == PrintStyleName::MailingLabels) {
        QVariantMap labels = styleOptions(MailingLabelsOptions);
        m_mailingLabels->write(labels);
        m_options->insert(MailingLabelsOptions, labels);
    } else if (style == PrintStyleName::Envelope) {
        QVariantMap envelope = styleOptions(EnvelopeOptions);
        m_envelope->write(envelope);
        m_options->insert(EnvelopeOptions, envelope);
    }
}

void AccessoryViewController::unitTypePopupChanged()
{
    const QString unit = m_shared->unitTypePopup()->currentData().toString();
    for (QDoubleSpinBox *field : m_shared->marginFields())
        PrintControls::convertQuietly(field, m_lastUnitType, unit);
    m_mailingLabels->changeUnit(unit);
    m_envelope->changeUnit(unit);
    // The lengths are what they were: nothing to save, nothing to draw anew.
    m_lastUnitType = unit;
}

void AccessoryViewController::marginChanged(QDoubleSpinBox *sender)
{
    const QSizeF paper = paperInShownUnit();
    const bool vertical = sender == m_shared->topMarginField() || sender == m_shared->bottomMarginField();
    const double limit = 0.95 * (vertical ? paper.height() : paper.width());
    PrintControls::setQuietly(sender, std::clamp(sender->value(), -limit, limit));
    updateUI();
}

void AccessoryViewController::showFontsButtonPressed()
{
    QFont current(m_shared->fontNameField()->text());
    current.setPointSize(std::max(1, m_shared->fontSizeField()->value()));
    if (!m_fontPanel) {
        // Beside the print window, which is modal: the panel must not wait for it.
        m_fontPanel = new QFontDialog(current, m_view ? m_view->get()->window() : nullptr);
        m_fontPanel->setOption(QFontDialog::NoButtons);
        m_fontPanel->setWindowFlag(Qt::WindowStaysOnTopHint);
        m_fontPanel->setWindowModality(Qt::NonModal);
        connect(m_fontPanel, &QFontDialog::currentFontChanged, this, &AccessoryViewController::changeFont);
    } else {
        const QSignalBlocker blocker(m_fontPanel);
        m_fontPanel->setCurrentFont(current);
    }
    m_fontPanel->show();
    m_fontPanel->raise();
    m_fontPanel->activateWindow();
}

void AccessoryViewController::changeFont(const QFont &font)
{
    if (!m_shared)
        return;
    m_shared->fontNameField()->setText(font.family());
    const int size = font.pointSizeF() > 0 ? int(font.pointSizeF()) : font.pixelSize();
    PrintControls::setQuietly(m_shared->fontSizeField(), std::max(1, size));
    updateUI();
}

PrintInfo &AccessoryViewController::printInfo() const
{
    return m_printInfo ? *m_printInfo : PrintInfo::shared();
}

EnvelopeTab::Paper AccessoryViewController::paper() const
{
    return {EnvelopeTextRect::paperName(printInfo()), EnvelopeTextRect::paperSize(printInfo())};
}

QSizeF AccessoryViewController::paperInShownUnit() const
{
    const QSizeF paper = EnvelopeTextRect::paperSize(printInfo());
    return {PrintUnit::changeValue(float(paper.width()), PrintUnit::Points, m_lastUnitType),
            PrintUnit::changeValue(float(paper.height()), PrintUnit::Points, m_lastUnitType)};
}

QVariantMap AccessoryViewController::styleOptions(const QString &key) const
{
    return m_options->value(key).toMap();
}

QString AccessoryViewController::printStyle() const
{
    return printInfo().value(PrintTypeKey).toString();
}

void AccessoryViewController::setPrintStyle(const QString &style)
{
    printInfo().setValue(PrintTypeKey, style);
}
