#include "app/MenuCommand.h"

#include <QAction>

MenuCommand menuCommand(const QAction *item)
{
    if (!item)
        return MenuCommand::None;
    bool ok = false;
    const int value = item->data().toInt(&ok);
    return ok ? MenuCommand(value) : MenuCommand::None;
}

void setMenuCommand(QAction *item, MenuCommand command)
{
    item->setData(int(command));
}
