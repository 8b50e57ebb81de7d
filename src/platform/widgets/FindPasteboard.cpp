#include "platform/widgets/FindPasteboard.h"

#include <QClipboard>
#include <QGuiApplication>

namespace {

QString &processBuffer()
{
    static QString buffer;
    return buffer;
}

QClipboard *findBuffer()
{
    QClipboard *clipboard = QGuiApplication::clipboard();
    return clipboard && clipboard->supportsFindBuffer() ? clipboard : nullptr;
}

} // namespace

QString FindPasteboard::string()
{
    if (QClipboard *clipboard = findBuffer()) {
        const QString text = clipboard->text(QClipboard::FindBuffer);
        return text.isEmpty() ? QString() : text;
    }
    return processBuffer();
}

void FindPasteboard::setString(const QString &text)
{
    if (QClipboard *clipboard = findBuffer())
        clipboard->setText(text, QClipboard::FindBuffer);
    else
        processBuffer() = text;
}
