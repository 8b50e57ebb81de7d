#pragma once

#include <QString>
#include <QUrl>

// The link a value opens in another application: a call, a mail, a web page, a map, the calendar.
// One rule set for the grid's and the detail table's menus; nothing in the contact changes.
namespace WorkspaceURL {

enum class MapService {
    Desktop,   // the desktop's map application (a geo: link)
    WebSearch, // a web map search in the browser
};

// The link as written, before QUrl normalises it; empty when nothing opens.
QString linkText(const QString &fieldIdentifier, const QString &text,
                 MapService map = MapService::Desktop);

// The URL for the value's text in the field with this identifier ("Phone", "Email", "URL",
// "Address", "Dates", "Birthday"); an empty QUrl when the field has no rule, the text is
// empty or the link is no valid URL.
QUrl forValue(const QString &fieldIdentifier, const QString &text,
              MapService map = MapService::Desktop);

} // namespace WorkspaceURL
