#pragma once

#include <QUrl>

#include <functional>

class QWidget;

// Opens links (mailto:, tel:, http:, map and calendar links) with the desktop's applications.
class Workspace
{
public:
    // False when nothing opened the link. An invalid or empty URL opens nothing silently; a valid
    // one that no application takes is reported in an alert, a sheet on window when one is given.
    static bool openURL(const QUrl &url, QWidget *window = nullptr);

    // Test hook: stands in for the desktop; an empty function gives the desktop back. Tests that
    // only need the URL catch it with QDesktopServices::setUrlHandler instead.
    static void setOpener(std::function<bool(const QUrl &)> opener);
};
