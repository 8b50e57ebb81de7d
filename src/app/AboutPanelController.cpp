#include "app/AboutPanelController.h"

#include "app/ApplicationInfo.h"
#include "ui/widgets/EditionIcon.h"
#include "app/ProductLinks.h"
#include "addressbook/TextFormat.h"
#include "platform/Localizer.h"
#include "platform/widgets/Workspace.h"

#include <QApplication>
#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace {

constexpr int IconSide = 128;
// What a window manager's title bar takes beside the title: its buttons and margins.
constexpr int TitleBarRoom = 160;

} // namespace

AboutPanelController::AboutPanelController(QWidget *parent)
    : Sheet(parent), m_iconView(new QLabel), m_productNameField(new QLabel), m_versionField(new QLabel),
      m_urlButton(new QPushButton(ProductLinks::address(ProductLinks::Link::WebSite))),
      m_okButton(new QPushButton(L(QStringLiteral("OK"))))
{
    setWindowTitle(TextFormat::fill(L(QStringLiteral("About %@")), {QApplication::applicationName()}));
    // The picture shown when the running name is no edition.
    m_iconView->setPixmap(
        QApplication::style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(IconSide));
    m_iconView->setAlignment(Qt::AlignCenter);
    QFont nameFont = m_productNameField->font();
    nameFont.setBold(true);
    nameFont.setPointSizeF(nameFont.pointSizeF() * 1.4);
    m_productNameField->setFont(nameFont);
    m_productNameField->setAlignment(Qt::AlignCenter);
    m_versionField->setAlignment(Qt::AlignCenter);
    m_urlButton->setFlat(true);
    m_okButton->setDefault(true);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_okButton);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_iconView);
    layout->addWidget(m_productNameField);
    layout->addWidget(m_versionField);
    layout->addWidget(m_urlButton, 0, Qt::AlignCenter);
    layout->addLayout(buttons);

    // Without a web site the link is left out.
    m_urlButton->setVisible(ProductLinks::hasAddress(ProductLinks::Link::WebSite));
    // Wide enough that a window manager does not cut the title ("About… erlin2").
    QFont titleFont = font();
    titleFont.setBold(true);
    setMinimumWidth(QFontMetrics(titleFont).horizontalAdvance(windowTitle()) + TitleBarRoom);

    connect(m_okButton, &QPushButton::clicked, this, &AboutPanelController::okPressed);
    connect(m_urlButton, &QPushButton::clicked, this, &AboutPanelController::openWebSite);
    windowDidLoad();
}

void AboutPanelController::windowDidLoad()
{
    const QString name = QApplication::applicationName();
    m_versionField->setText(
        TextFormat::fill(L(QStringLiteral("Version %@ (%@)")),
                         {ApplicationInfo::ShortVersionString, ApplicationInfo::BundleVersion}));
    m_productNameField->setText(name);
    const QPixmap icon = EditionIcon::pixmap(name, IconSide);
    if (!icon.isNull())
        m_iconView->setPixmap(icon);
}

void AboutPanelController::okPressed()
{
    // Closing ends the modal run with the same code.
    stopModalWithCode(1);
    close();
}

void AboutPanelController::openWebSite()
{
    if (ProductLinks::hasAddress(ProductLinks::Link::WebSite))
        Workspace::openURL(QUrl(ProductLinks::address(ProductLinks::Link::WebSite)), this);
}
