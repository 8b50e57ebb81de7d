#include "panels/QRCodeView.h"

#include "panels/QRCodeImage.h"

#include <QLabel>
#include <QPainter>
#include <QVBoxLayout>

#include <algorithm>

namespace {

// Room for a version 10 code at its own scale, and for two pixels per module at version 40 (179
// modules with the quiet zone): a camera or a screenshot reader misses single-pixel modules.
constexpr int MinimumSide = 360;

} // namespace

QRCodeView::QRCodeView(QWidget *parent) : QWidget(parent), m_messageLabel(new QLabel)
{
    setMinimumSize(MinimumSide, MinimumSide);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
    setAutoFillBackground(true);
    // Dark on white whatever the theme: a code needs its light modules light.
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window, Qt::white);
    palette.setColor(QPalette::WindowText, Qt::black);
    setPalette(palette);

    m_messageLabel->setAlignment(Qt::AlignCenter);
    m_messageLabel->setWordWrap(true);
    m_messageLabel->hide();
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_messageLabel);
}

void QRCodeView::showCode(const QImage &framedSymbol)
{
    m_framedSymbol = framedSymbol;
    m_messageLabel->hide();
    update();
}

void QRCodeView::showMessage(const QString &text)
{
    m_framedSymbol = QImage();
    m_messageLabel->setText(text);
    m_messageLabel->show();
    update();
}

void QRCodeView::clear()
{
    m_framedSymbol = QImage();
    m_messageLabel->clear();
    m_messageLabel->hide();
    update();
}

QString QRCodeView::message() const
{
    return m_messageLabel->isHidden() ? QString() : m_messageLabel->text();
}

QRect QRCodeView::codeRect() const
{
    if (m_framedSymbol.isNull())
        return QRect();
    const int available = std::min(width(), height());
    const int modules = m_framedSymbol.width();
    const int moduleSize = QRCodeImage::moduleSizeToFit(modules, available);
    // Squeezed below a pixel per module, the code still shows whole, if blurred.
    const int side = moduleSize > 0 ? modules * moduleSize : available;
    QRect code(0, 0, side, side);
    code.moveCenter(rect().center());
    return code;
}

void QRCodeView::paintEvent(QPaintEvent *event)
{
    QWidget::paintEvent(event);
    const QRect code = codeRect();
    if (code.isEmpty())
        return;
    QPainter painter(this);
    painter.drawImage(code.topLeft(), QRCodeImage::imageResize(m_framedSymbol, code.size()));
}
