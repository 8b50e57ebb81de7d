#include "app/ProductLinks.h"

#include "platform/Log.h"
#include "platform/widgets/TemporaryFiles.h"

#include <QFile>
#include <QFileInfo>

namespace {

std::optional<QList<ProductLinks::Entry>> s_testTable;

} // namespace

// Only addresses that lead somewhere: the help and privacy pages ship with the program. There is
// no store page, feedback mailbox or web site yet, so nothing offers them; a placeholder would
// send the user to a site that is not ours.
const QList<ProductLinks::Entry> &ProductLinks::table()
{
    using L = Link;
    static const QList<Entry> entries = {
        {L::HelpPage, {}, {}, QStringLiteral(":/html/help.html")},
        {L::HelpPage, {}, QStringLiteral("ja"), QStringLiteral(":/html/help-ja.html")},
        {L::PrivacyPage, {}, {}, QStringLiteral(":/html/privacy.html")},
        {L::PrivacyPage, {}, QStringLiteral("ja"), QStringLiteral(":/html/privacy-ja.html")},
    };
    return s_testTable ? *s_testTable : entries;
}

void ProductLinks::setTableForTesting(const std::optional<QList<Entry>> &table)
{
    s_testTable = table;
}

bool ProductLinks::hasAddress(Link link, const QString &edition)
{
    return !address(link, {}, edition).isEmpty();
}

QString ProductLinks::address(Link link, const QString &language, const QString &edition)
{
    QString fallback;
    for (const Entry &entry : table()) {
        if (entry.link != link || (!entry.edition.isEmpty() && entry.edition != edition))
            continue;
        if (!language.isEmpty() && entry.language == language)
            return entry.address;
        if (entry.language.isEmpty() && fallback.isEmpty())
            fallback = entry.address;
    }
    return fallback;
}

QUrl ProductLinks::urlForOpening(const QString &address)
{
    if (!address.startsWith(QStringLiteral(":/")))
        return QUrl(address, QUrl::StrictMode);
    const QString path = TemporaryFiles::filePath(QFileInfo(address).fileName());
    if (path.isEmpty())
        return {};
    QFile::remove(path);
    if (!QFile::copy(address, path)) {
        Log::write("%s: ERROR can't write %@", {QStringLiteral("ProductLinks::urlForOpening"), path});
        return {};
    }
    return QUrl::fromLocalFile(path);
}

QUrl ProductLinks::feedbackURL(const QString &bundleName)
{
    if (!hasAddress(Link::SupportMailbox))
        return {};
    QString text = address(Link::SupportMailbox) + QStringLiteral("?subject=Feedback of ") + bundleName;
    text.replace(QLatin1Char(' '), QStringLiteral("%20"));
    return QUrl(QStringLiteral("mailto:") + text, QUrl::StrictMode);
}
