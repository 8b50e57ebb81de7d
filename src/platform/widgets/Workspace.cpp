#include "platform/widgets/Workspace.h"

#include "platform/Localizer.h"
#include "platform/widgets/Alert.h"

#include <QDesktopServices>

namespace {
std::function<bool(const QUrl &)> s_opener;
} // namespace

bool Workspace::openURL(const QUrl &url, QWidget *window)
{
    if (!url.isValid() || url.isEmpty())
        return false;
    if (s_opener ? s_opener(url) : QDesktopServices::openUrl(url))
        return true;
    Alert alert;
    alert.setMessageText(L(QStringLiteral("No application can open this link.")));
    alert.setInformativeText(url.toDisplayString());
    alert.addButton(L(QStringLiteral("OK")));
    if (window)
        alert.beginSheetModalForWindow(window);
    else
        alert.runModal();
    return false;
}

void Workspace::setOpener(std::function<bool(const QUrl &)> opener)
{
    s_opener = std::move(opener);
}
