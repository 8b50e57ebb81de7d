#include "importexport/ProgressAlert.h"

#include "ui/widgets/EditionIcon.h"
#include "platform/Dispatch.h"
#include "platform/Localizer.h"

#include <QApplication>
#include <QGridLayout>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QStyle>

#include <cmath>

namespace {

constexpr int IconSide = 64;
constexpr int MessageWidth = 320;

} // namespace

ProgressAlert::ProgressAlert(QWidget *parent)
    : Sheet(parent), m_iconView(new QLabel), m_alertMessage(new QLabel), m_progressIndicator(new QProgressBar),
      m_cancelButton(new QPushButton(L(QStringLiteral("Cancel"))))
{
    const QString name = QApplication::applicationName();
    setWindowTitle(name);
    const QPixmap icon = EditionIcon::pixmap(name, IconSide);
    m_iconView->setPixmap(icon.isNull() ? style()->standardIcon(QStyle::SP_MessageBoxInformation).pixmap(IconSide)
                                        : icon);
    m_alertMessage->setMinimumWidth(MessageWidth);
    m_progressIndicator->setRange(0, 100);
    m_progressIndicator->setTextVisible(false);
    auto *layout = new QGridLayout(this);
    layout->addWidget(m_iconView, 0, 0, 2, 1, Qt::AlignTop);
    layout->addWidget(m_alertMessage, 0, 1);
    layout->addWidget(m_progressIndicator, 1, 1);
    layout->addWidget(m_cancelButton, 2, 1, Qt::AlignRight);
    connect(m_cancelButton, &QPushButton::clicked, this, [this] { stopModalWithCode(Abort); });
}

ProgressAlert::Reporter ProgressAlert::beginRun(const QString &message)
{
    const quint64 token = beginModalSession();
    m_alertMessage->setText(message);
    setProgress(0);
    return Reporter(this, token);
}

void ProgressAlert::setProgress(double value)
{
    m_progressIndicator->setValue(int(std::lround(qBound(0.0, value, 100.0))));
}

double ProgressAlert::progress() const
{
    return m_progressIndicator->value();
}

void ProgressAlert::requestClose()
{
    stopModalWithCode(Stop, modalSessionToken());
}

void ProgressAlert::setProgress(double value, quint64 token)
{
    if (token == modalSessionToken())
        setProgress(value);
}

void ProgressAlert::requestClose(quint64 token)
{
    stopModalWithCode(Stop, token);
}

void ProgressAlert::reject()
{
    stopModalWithCode(Abort);
}

void ProgressAlert::Reporter::setProgress(double value)
{
    const int percent = int(std::floor(qBound(0.0, value, 100.0)));
    if (percent == m_lastPercent)
        return;
    m_lastPercent = percent;
    QPointer<ProgressAlert> panel = m_panel;
    const quint64 token = m_token;
    Dispatch::postToMain([panel, token, value] {
        if (panel)
            panel->setProgress(value, token);
    });
}

void ProgressAlert::Reporter::requestClose()
{
    QPointer<ProgressAlert> panel = m_panel;
    const quint64 token = m_token;
    Dispatch::postToMain([panel, token] {
        if (panel) {
            panel->setProgress(100, token);
            panel->requestClose(token);
        }
    });
}
