#include "addressbook/TextFormat.h"

namespace TextFormat {

QString fill(const QString &format, const QStringList &arguments)
{
    QString result;
    result.reserve(format.size());
    qsizetype next = 0;
    for (qsizetype i = 0; i < format.size(); ++i) {
        const QChar directive = i + 1 < format.size() ? format.at(i + 1) : QChar();
        if (format.at(i) == u'%' && directive == u'@') {
            result += arguments.value(next++);
            ++i;
        } else if (format.at(i) == u'%' && directive == u'%') {
            result += u'%';
            ++i;
        } else {
            result += format.at(i);
        }
    }
    return result;
}

} // namespace TextFormat
