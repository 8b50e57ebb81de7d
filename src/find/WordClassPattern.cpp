#include "find/WordClassPattern.h"

namespace {

QString spelledOut(QChar escape, bool inClass)
{
    static const QString WordMembers = QStringLiteral("\\p{L}\\p{M}\\p{N}\\p{Pc}\\x{200C}\\x{200D}");
    static const QString Word = u'[' + WordMembers + u']';
    if (inClass)
        return escape == u'w' ? WordMembers : QString();
    switch (escape.unicode()) {
    case u'w':
        return Word;
    case u'W':
        return QStringLiteral("[^") + WordMembers + u']';
    case u'b':
        return QStringLiteral("(?:(?<=%1)(?!%1)|(?<!%1)(?=%1))").arg(Word);
    case u'B':
        return QStringLiteral("(?:(?<=%1)(?=%1)|(?<!%1)(?!%1))").arg(Word);
    default:
        return {};
    }
}

// Where the text copied as it stands from the position ends: a quoted stretch (\Q...\E), a
// comment, a POSIX class inside a class, or one escape (\cX takes its letter with it).
qsizetype verbatimEnd(const QString &pattern, qsizetype position, bool inClass)
{
    const auto through = [&](const QString &closing) {
        const qsizetype found = pattern.indexOf(closing, position + 2);
        return found < 0 ? pattern.size() : found + closing.size();
    };
    const QStringView rest = QStringView(pattern).sliced(position);
    if (rest.startsWith(u"\\Q"))
        return through(QStringLiteral("\\E"));
    if (rest.startsWith(u"\\c"))
        return qMin(position + 3, pattern.size());
    if (rest.startsWith(u"\\"))
        return qMin(position + 2, pattern.size());
    if (!inClass && rest.startsWith(u"(?#"))
        return through(QStringLiteral(")"));
    if (inClass && rest.startsWith(u"[:"))
        return through(QStringLiteral(":]"));
    return position;
}

} // namespace

QString withUnicodeWordClasses(const QString &pattern)
{
    QString spelled;
    spelled.reserve(pattern.size());
    bool inClass = false;
    for (qsizetype position = 0; position < pattern.size();) {
        const qsizetype end = verbatimEnd(pattern, position, inClass);
        if (end > position) {
            const bool escape = pattern.at(position) == u'\\' && end == position + 2;
            const QString replacement = escape ? spelledOut(pattern.at(position + 1), inClass) : QString();
            spelled += replacement.isEmpty() ? pattern.sliced(position, end - position) : replacement;
            position = end;
            continue;
        }
        const QChar c = pattern.at(position++);
        spelled += c;
        if (c == u']' && inClass) {
            inClass = false;
        } else if (c == u'[' && !inClass) {
            inClass = true;
            // A ] first in a class, after any ^, is one of its members.
            if (position < pattern.size() && pattern.at(position) == u'^')
                spelled += pattern.at(position++);
            if (position < pattern.size() && pattern.at(position) == u']')
                spelled += pattern.at(position++);
        }
    }
    return spelled;
}
