#include "model/NormalizePhoneNumber.h"

#include "platform/Log.h"

#include <QFile>
#include <QRegularExpression>
#include <QStringList>

#include <algorithm>
#include <mutex>
#include <numeric>

namespace {

bool isAsciiDigit(QChar c)
{
    return c >= u'0' && c <= u'9';
}

// An optional "+" and at least one digit, nothing else.
bool isPlainNumber(QStringView text)
{
    if (text.startsWith(u'+'))
        text = text.mid(1);
    return !text.isEmpty() && std::all_of(text.begin(), text.end(), isAsciiDigit);
}

bool containsLetterOrDigit(QStringView text)
{
    return std::any_of(text.begin(), text.end(), [](QChar c) { return c.isLetterOrNumber(); });
}

CountryNumberRow rowFromLine(const QString &line)
{
    const QStringList fields = line.split(u',');
    if (fields.size() != 4)
        return {};
    return {fields[0].left(1), fields[0], fields[1], fields[2], fields[3]};
}

QList<CountryNumberRow> sortedByNumber(QList<CountryNumberRow> rows)
{
    const auto byNumber = [](const CountryNumberRow &a, const CountryNumberRow &b) {
        return a.number < b.number;
    };
    if (!std::is_sorted(rows.cbegin(), rows.cend(), byNumber))
        std::stable_sort(rows.begin(), rows.end(), byNumber);
    return rows;
}

// Fills the "%@" places of format with the groups in order.
QString fillFormat(const char *format, const QStringList &groups)
{
    const QStringList pieces = QString::fromLatin1(format).split(QStringLiteral("%@"));
    QString result = pieces.first();
    for (qsizetype i = 1; i < pieces.size(); ++i)
        result += groups.value(i - 1) + pieces[i];
    return result;
}

} // namespace

NormalizePhoneNumber::NormalizePhoneNumber() : NormalizePhoneNumber(bundledCountryNumbers()) {}

NormalizePhoneNumber::NormalizePhoneNumber(QList<CountryNumberRow> countryNumbers)
    : m_countryNumbers(sortedByNumber(std::move(countryNumbers)))
{
}

QList<CountryNumberRow> NormalizePhoneNumber::arrayFromCountryNumbersString(const QString &text)
{
    // Every newline character ends a line, so CR LF gives an empty line in between, which is skipped.
    static const QRegularExpression newline(
        QStringLiteral("[\\n\\x{0B}\\x{0C}\\r\\x{85}\\x{2028}\\x{2029}]"));
    QList<CountryNumberRow> rows;
    if (text.isEmpty())
        return rows;
    const QStringList lines = text.split(newline);
    for (qsizetype i = 1; i < lines.size(); ++i) {
        if (lines[i].size() >= 2)
            rows.append(rowFromLine(lines[i]));
    }
    return rows;
}

const QList<CountryNumberRow> &NormalizePhoneNumber::bundledCountryNumbers()
{
    static std::once_flag once;
    static QList<CountryNumberRow> table;
    std::call_once(once, [] {
        QFile file(QStringLiteral(":/CountryNumbers"));
        if (!file.open(QIODevice::ReadOnly)) {
            Log::write(QStringLiteral("NormalizePhoneNumber: ERROR can't read %1").arg(file.fileName()));
            return;
        }
        table = sortedByNumber(arrayFromCountryNumbersString(QString::fromUtf8(file.readAll())));
    });
    return table;
}

void NormalizePhoneNumber::setPhoneNumber(const QString &text)
{
    m_phoneNumber = normalizeExtension(removeHyphenAndParenthesis(text));
}

QString NormalizePhoneNumber::removeHyphenAndParenthesis(const QString &text)
{
    QString result = text;
    // Full stops separate groups as hyphens do ("090.1234.5678"); kept, they would end the number.
    for (const QChar separator : {u'-', u'(', u')', u' ', u'.'})
        result.remove(separator);
    return result;
}

QString NormalizePhoneNumber::normalizeExtension(const QString &text)
{
    static const QRegularExpression extension(QStringLiteral("(ext\\.|ext|x)[0-9]"));
    const QRegularExpressionMatch match = extension.match(text);
    if (match.hasMatch()) {
        const QString number = text.left(match.capturedStart());
        // Other text before the extension would be laid out as if it were digits.
        if (!isPlainNumber(number))
            return {};
        return number + u'x' + text.mid(match.capturedEnd(1));
    }

    const qsizetype start = text.startsWith(u'+') ? 1 : 0;
    qsizetype end = start;
    while (end < text.size() && isAsciiDigit(text[end]))
        ++end;
    if (end == start)
        return {};
    // The caller writes the result back: cutting off more digits, keypad letters or a note would lose
    // them, so such a number is left alone.
    if (containsLetterOrDigit(QStringView(text).mid(end)))
        return {};
    return text.left(end);
}

QString NormalizePhoneNumber::countryNumber(const QString &text) const
{
    if (text.size() < 2 || !text.startsWith(u'+') || !isAsciiDigit(text[1]))
        return {};
    const int digit = text[1].digitValue();
    for (const CountryNumberRow &row : m_countryNumbers) {
        if (row.firstDigit.isEmpty() || row.number.isEmpty())
            continue;
        const int rowDigit = row.firstDigit[0].digitValue();
        if (rowDigit < digit)
            continue;
        if (rowDigit > digit)
            break;
        const qsizetype length = row.number.size();
        if (text.size() > length + 1 && QStringView(text).mid(1, length) == row.number)
            return row.number;
    }
    return {};
}

QString NormalizePhoneNumber::group(const QString &digits, const QList<GroupingRule> &rules)
{
    const qsizetype n = digits.size();
    for (const GroupingRule &rule : rules) {
        if (n < rule.minimumLength)
            continue;
        qsizetype position = n - std::accumulate(rule.tailGroups.cbegin(), rule.tailGroups.cend(), 0);
        QStringList groups{digits.left(position)};
        for (const int length : rule.tailGroups) {
            groups.append(digits.mid(position, length));
            position += length;
        }
        return fillFormat(rule.format, groups);
    }
    return digits;
}

QString NormalizePhoneNumber::layout(const QList<GroupingRule> &rules) const
{
    QString number = m_phoneNumber;
    QString extension;
    const qsizetype x = number.indexOf(u'x');
    if (x >= 0 && x + 1 < number.size()) {
        extension = number.mid(x + 1);
        number.truncate(x);
    }

    const QString code = countryNumber(number);
    if (!code.isEmpty())
        number = number.size() > code.size() + 1 ? number.mid(code.size() + 1) : QString();

    QString result = group(number, rules);
    if (!extension.isEmpty())
        result += QStringLiteral(" x") + extension;
    if (!code.isEmpty())
        result = u'+' + code + u' ' + result;
    return result;
}

QString NormalizePhoneNumber::fourPlusFour() const
{
    static const QList<GroupingRule> rules{{9, {4, 4}, "(%@) %@-%@"}, {5, {4}, "(%@) %@"}};
    return layout(rules);
}

QString NormalizePhoneNumber::twoPlusFour() const
{
    static const QList<GroupingRule> rules{{7, {2, 4}, "(%@) %@-%@"}, {5, {4}, "(%@) %@"}};
    return layout(rules);
}

QString NormalizePhoneNumber::quadTwo() const
{
    static const QList<GroupingRule> rules{
        {9, {2, 2, 2, 2}, "(%@) %@ %@ %@ %@"}, {7, {2, 2, 2}, "(%@) %@ %@ %@"}, {5, {2, 2}, "(%@) %@ %@"}};
    return layout(rules);
}

QString NormalizePhoneNumber::threePlusFour() const
{
    static const QList<GroupingRule> rules{{8, {3, 4}, "(%@) %@-%@"}, {5, {4}, "(%@) %@"}};
    return layout(rules);
}

QString NormalizePhoneNumber::hyphenThreeFour() const
{
    static const QList<GroupingRule> rules{{9, {4, 4}, "%@-%@-%@"}, {5, {4}, "%@-%@"}};
    return layout(rules);
}

QString NormalizePhoneNumber::hyphenFourThreeThree() const
{
    static const QList<GroupingRule> rules{{7, {3, 3}, "%@-%@-%@"}, {4, {3}, "%@-%@"}};
    return layout(rules);
}
