#include "app/MenuCommand.h"

#include <QAction>
#include <QVariantMap>

namespace {

const QString CommandKey = QStringLiteral("command");
const QString ObjectKey = QStringLiteral("object");

} // namespace

// An item without a represented object keeps its command as a plain integer.
MenuCommand menuCommand(const QAction *item)
{
    if (!item)
        return MenuCommand::None;
    const QVariant data = item->data();
    bool ok = false;
    const int value =
        data.typeId() == QMetaType::QVariantMap ? data.toMap().value(CommandKey).toInt(&ok) : data.toInt(&ok);
    return ok ? MenuCommand(value) : MenuCommand::None;
}

void setMenuCommand(QAction *item, MenuCommand command)
{
    item->setData(int(command));
}

QVariant representedObject(const QAction *item)
{
    if (!item || item->data().typeId() != QMetaType::QVariantMap)
        return {};
    return item->data().toMap().value(ObjectKey);
}

void setMenuCommand(QAction *item, MenuCommand command, const QVariant &representedObject)
{
    if (!representedObject.isValid()) {
        setMenuCommand(item, command);
        return;
    }
    item->setData(QVariantMap{{CommandKey, int(command)}, {ObjectKey, representedObject}});
}
