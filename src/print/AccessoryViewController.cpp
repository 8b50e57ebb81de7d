#include "print/AccessoryViewController.h"

#include "addressbook/DefaultsKey.h"
#include "platform/Localizer.h"
#include "platform/PrintInfo.h"
#include "platform/UserDefaults.h"
#include "print/PrintKeys.h"
#include "print/PrintOptionsDict.h"

#include <QSignalBlocker>
#include <QTabBar>
#include <QTabWidget>
#include <QVBoxLayout>

namespace {

const QString PrintTypeKey = QStringLiteral("FenwardePrintType");

} // namespace

AccessoryViewController::AccessoryViewController(UserDefaults &defaults, QObject *parent)
    : QObject(parent), m_defaults(defaults),
      m_options(std::make_shared<QVariantMap>(PrintOptionsDict::load(defaults)))
{
}

AccessoryViewController::~AccessoryViewController() = default;

QStringList AccessoryViewController::styles()
{
    return {PrintStyleName::AddressList, PrintStyleName::MailingLabels, PrintStyleName::Envelope};
}

QWidget *AccessoryViewController::view()
{
    if (!m_view) {
        m_view = std::make_unique<OwnedView<QWidget>>(makeView());
        // The first selection must count as a change, whichever tab shows already.
        m_currentStyle.clear();
        selectStyle(m_options->value(PrintKey::PrintStyle).toString());
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
    for (const QString &style : styles()) {
        auto *page = new QWidget(m_styleTab);
        page->setObjectName(style);
        const int index = m_styleTab->addTab(page, L(style));
        m_styleTab->tabBar()->setTabData(index, style);
    }
    layout->addWidget(m_styleTab);
    connect(m_styleTab, &QTabWidget::currentChanged, this, &AccessoryViewController::styleSelected);
    return view;
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
    }
    updateUI();
}

void AccessoryViewController::updateUI()
{
    m_options->insert(PrintKey::PrintStyle, selectedStyle());
    QVariantMap addressList = m_options->value(PrintKey::AddressListOptions).toMap();
    if (addressList.value(PrintKey::SelectedLabels).toList().isEmpty()) {
        addressList.insert(PrintKey::SelectedLabels, QVariantList{PrintKey::AllLabels});
        m_options->insert(PrintKey::AddressListOptions, addressList);
    }
    setPrintStyle(m_currentStyle);
    PrintOptionsDict::save(m_defaults, *m_options);
    emit previewChanged();
}

QString AccessoryViewController::printStyle() const
{
    return m_printInfo ? m_printInfo->value(PrintTypeKey).toString() : QString();
}

void AccessoryViewController::setPrintStyle(const QString &style)
{
    if (m_printInfo)
        m_printInfo->setValue(PrintTypeKey, style);
}
