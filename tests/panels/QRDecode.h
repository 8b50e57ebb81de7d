#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QString>
#include <QTemporaryDir>

#include <optional>

// Reads a QR code back with zbarimg, the way a phone's camera would.
namespace QRDecode {

inline bool isAvailable()
{
    return !QStandardPaths::findExecutable(QStringLiteral("zbarimg")).isEmpty();
}

// The text of the one code in the PNG, nullopt when zbarimg finds none.
inline std::optional<QString> decodePng(const QByteArray &png)
{
    QTemporaryDir folder;
    const QString path = folder.filePath(QStringLiteral("code.png"));
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(png) != png.size())
        return std::nullopt;
    file.close();
    QProcess zbar;
    zbar.start(QStringLiteral("zbarimg"), {QStringLiteral("--raw"), QStringLiteral("--quiet"), path});
    if (!zbar.waitForFinished(30000) || zbar.exitCode() != 0)
        return std::nullopt;
    QByteArray out = zbar.readAllStandardOutput();
    if (out.endsWith('\n'))
        out.chop(1);
    return QString::fromUtf8(out);
}

inline std::optional<QString> decode(const QImage &image)
{
    QByteArray png;
    QBuffer buffer(&png);
    buffer.open(QIODevice::WriteOnly);
    if (image.isNull() || !image.save(&buffer, "PNG"))
        return std::nullopt;
    return decodePng(png);
}

} // namespace QRDecode
