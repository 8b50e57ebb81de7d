#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <optional>

class QAction;
class QMenu;

// The context menu of a row of a contact's values: the value opened in another application, its
// editors, adding and deleting an entry, and the photo commands. One table of items for the detail
// pane, the detail popover and the merge sheet's two tables; each host acts on the commands itself.
//
// Items are told apart by their command (the action's data), never by their translated titles.
namespace DetailRowMenu {

enum class Variant
{
    Pane,
    Popover,
    // The merge sheet: no icon-size items, a panel item named after its kind.
    Merge
};

enum class Command
{
    IconSizeBigger,
    IconSizeSmaller,
    AddImage,
    DeleteImage,
    // The value as a call, mail, web page or calendar.
    OpenValue,
    OpenDesktopMap,
    OpenWebMap,
    // The single-value editor of an address, instant message or social profile.
    OpenValueEditor,
    // The kind's list editor (the date editors for dates and the birthday).
    OpenListEditor,
    InsertItem,
    DeleteItem
};

struct Item
{
    // The English title, the localisation key; empty for a separator.
    QString title;
    // None: shown disabled.
    std::optional<Command> command;

    bool isSeparator() const { return title.isEmpty(); }
    bool operator==(const Item &) const = default;
};

// What the menu needs of the clicked row.
struct Subject
{
    // The row's field identifier ("Phone", "Photo", a custom item's name).
    QString type;
    // "Labeled Value", "String Value", ... (custom items by their definition).
    QString valueType;
    // The row refers to a value: a photo, an entry, a birthday or date with text.
    bool holdsValue = false;
};

QList<Item> items(const Subject &subject, Variant variant);

// Fills the menu with the items, localised, each action carrying its command as data; a chosen
// item calls `chosen` with its command.
void fill(QMenu *menu, const QList<Item> &items, const std::function<void(Command)> &chosen);

// The command an action of a filled menu carries; nullopt for a separator or a disabled item.
std::optional<Command> commandOf(const QAction *action);

} // namespace DetailRowMenu
