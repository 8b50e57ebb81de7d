#pragma once

#include <QIcon>
#include <QString>

// The toolbar's icons, drawn from the SVGs of the program's resources at the sizes a toolbar
// asks for.
class ToolbarIcon
{
public:
    // name: "viewtype", "items", "labels" or "sortoptions"; an empty icon for another name.
    static QIcon icon(const QString &name);
};
