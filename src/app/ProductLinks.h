#pragma once

#include <QList>
#include <QString>
#include <QUrl>

#include <optional>

// Every address the program opens for the user: the help and privacy pages, which ship with the
// program and open without a network, and the store pages, the feedback mailbox and the web site
// once they exist.
class ProductLinks
{
public:
    enum class Link
    {
        HelpPage,
        PrivacyPage,
        StorePage,
        SupportMailbox,
        WebSite
    };

    struct Entry
    {
        Link link;
        // The edition the entry is for; empty for every edition.
        QString edition;
        // "ja" for the Japanese variant; empty for the default.
        QString language;
        // A URL, a mailbox, or a page of the program's resources (":/html/...").
        QString address;
    };

    static const QList<Entry> &table();
    // Test hook: a table in place of the shipped one; none puts the shipped one back.
    static void setTableForTesting(const std::optional<QList<Entry>> &table);
    // Whether there is anything to open for the link; items without are not offered.
    static bool hasAddress(Link link, const QString &edition = {});

    // The entry's address for that language and edition, falling back to the default language;
    // empty when the table has none.
    static QString address(Link link, const QString &language = {}, const QString &edition = {});

    // The address as a URL to open: a page of the resources is written to the process's
    // temporary folder first and opened from there. Invalid when there is nothing to open.
    static QUrl urlForOpening(const QString &address);

    // "mailto:" with the support mailbox and the subject "Feedback of <name>", blanks as "%20";
    // invalid without a mailbox.
    static QUrl feedbackURL(const QString &bundleName);
};
