#include "platform/Log.h"

#include <QDebug>
#include <QMutex>

namespace Log {

namespace {

QMutex &handlerMutex()
{
    static QMutex mutex;
    return mutex;
}

Handler &currentHandler()
{
    static Handler handler;
    return handler;
}

} // namespace

void write(const QString &message)
{
    Handler handler;
    {
        QMutexLocker lock(&handlerMutex());
        handler = currentHandler();
    }
    if (handler)
        handler(message);
    else
        qWarning().noquote() << message;
}

void write(const char *format, const QStringList &arguments)
{
    write(Log::format(format, arguments));
}

QString format(const char *format, const QStringList &arguments)
{
    const QString text = QString::fromUtf8(format);
    QString result;
    qsizetype next = 0;
    for (qsizetype i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        const QChar directive = i + 1 < text.size() ? text.at(i + 1) : QChar();
        if (c != u'%' || directive.isNull()) {
            result += c;
        } else if (directive == u'%') {
            result += u'%';
            ++i;
        } else if (directive == u's' || directive == u'@' || directive == u'd') {
            // A missing argument prints like a nil object would.
            result += next < arguments.size() ? arguments.at(next) : QStringLiteral("(null)");
            ++next;
            ++i;
        } else {
            result += c;
        }
    }
    return result;
}

Handler setHandler(Handler handler)
{
    QMutexLocker lock(&handlerMutex());
    std::swap(currentHandler(), handler);
    return handler;
}

} // namespace Log
