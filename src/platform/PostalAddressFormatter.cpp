#include "platform/PostalAddressFormatter.h"

namespace {

const QString Street = QStringLiteral("Street");
const QString City = QStringLiteral("City");
const QString State = QStringLiteral("State");
const QString Zip = QStringLiteral("ZIP");
const QString Country = QStringLiteral("Country");

QString part(const StorePostalAddress &address, const QString &token)
{
    if (token == Street)
        return address.street.trimmed();
    if (token == City)
        return address.city.trimmed();
    if (token == State)
        return address.state.trimmed();
    if (token == Zip)
        return address.postalCode.trimmed();
    return address.country.trimmed();
}

// Chinese and Japanese write an address's parts together; Korean separates them by blanks.
bool writtenTogether(char32_t character)
{
    switch (QChar::script(character)) {
    case QChar::Script_Han:
    case QChar::Script_Hiragana:
    case QChar::Script_Katakana:
        return true;
    default:
        return false;
    }
}

QString joinedLine(const QStringList &parts)
{
    QString line;
    for (const QString &text : parts) {
        const bool together = !line.isEmpty() && writtenTogether(line.toUcs4().constLast()) &&
                              writtenTogether(text.toUcs4().constFirst());
        if (!line.isEmpty() && !together)
            line.append(QLatin1Char(' '));
        line.append(text);
    }
    return line;
}

QStringList knownTokens(const QStringList &order)
{
    QStringList tokens;
    for (const QString &token : order)
        if (PostalAddressFormatter::defaultOrder().contains(token) && !tokens.contains(token))
            tokens.append(token);
    return tokens.isEmpty() ? PostalAddressFormatter::defaultOrder() : tokens;
}

} // namespace

const QStringList &PostalAddressFormatter::defaultOrder()
{
    static const QStringList order{Street, City, State, Zip, Country};
    return order;
}

QString PostalAddressFormatter::stringFromPostalAddress(const StorePostalAddress &address,
                                                        const QStringList &order)
{
    const QStringList tokens = knownTokens(order);
    const bool bigEndian = tokens.first() == Country;
    const QStringList sharedLine = bigEndian ? QStringList{City, State} : QStringList{City, State, Zip};
    QStringList lines;
    QStringList run;
    for (const QString &token : tokens) {
        const QString text = part(address, token);
        if (sharedLine.contains(token)) {
            if (!text.isEmpty())
                run.append(text);
            continue;
        }
        if (!run.isEmpty())
            lines.append(joinedLine(run));
        run.clear();
        if (!text.isEmpty())
            lines.append(text);
    }
    if (!run.isEmpty())
        lines.append(joinedLine(run));
    return lines.join(QLatin1Char('\n'));
}
