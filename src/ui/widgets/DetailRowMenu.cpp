#include "ui/widgets/DetailRowMenu.h"

#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "platform/Localizer.h"

#include <QAction>
#include <QMenu>

namespace DetailRowMenu {
namespace {

using enum Command;

const QString Phone = QStringLiteral("Phone");
const QString Email = QStringLiteral("Email");
const QString URL = QStringLiteral("URL");
const QString Address = QStringLiteral("Address");
const QString InstantMessage = QStringLiteral("Instant Message");
const QString SocialNetwork = QStringLiteral("Social Network");
const QString Relationship = QStringLiteral("Relationship");
const QString Dates = QStringLiteral("Dates");

Item item(const char *title, std::optional<Command> command)
{
    return {QString::fromLatin1(title), command};
}

Item separator()
{
    return {};
}

// An item that acts only on a row with a value.
std::optional<Command> onValue(const Subject &subject, Command command)
{
    return subject.holdsValue ? std::optional<Command>(command) : std::nullopt;
}

QList<Item> photoItems(const Subject &subject, Variant variant)
{
    if (!subject.holdsValue)
        return {item("Add Image", AddImage)};
    QList<Item> items;
    if (variant != Variant::Merge)
        items = {item("Icon Size Bigger", IconSizeBigger), item("Icon Size Smaller", IconSizeSmaller), separator()};
    items += {item("Replace Image", AddImage), item("Delete Image", DeleteImage)};
    return items;
}

// The list editor's item of a phone, e-mail or URL row.
Item listPanelItem(const Subject &subject, Variant variant)
{
    if (variant == Variant::Merge) {
        if (subject.type == Phone)
            return item("Open Phone Panel", OpenListEditor);
        if (subject.type == Email)
            return item("Open Email Panel", OpenListEditor);
        return item("Open URL Panel", OpenListEditor);
    }
    if (variant == Variant::Popover && subject.type == Phone && !subject.holdsValue)
        return item("Add/Delete Phone Item", OpenListEditor);
    return item("Open Edit Panel", OpenListEditor);
}

// What every list kind ends with: add, and delete when there is something to delete.
QList<Item> addAndDelete(const Subject &subject)
{
    QList<Item> items{item("Add Item", InsertItem)};
    if (subject.holdsValue)
        items.append(item("Delete Item", DeleteItem));
    return items;
}

QList<Item> labeledItems(const Subject &subject, Variant variant)
{
    const QString &type = subject.type;
    if (type == Phone || type == Email || type == URL) {
        const char *open = type == Phone ? "Call Phone" : type == Email ? "Send Email" : "Open URL";
        return QList<Item>{item(open, onValue(subject, OpenValue)), listPanelItem(subject, variant)} +
               addAndDelete(subject);
    }
    if (type == Relationship)
        return QList<Item>{item("Open Relationship Panel", OpenListEditor), item("Open Edit Panel", OpenListEditor)} +
               addAndDelete(subject);
    if (type == Address)
        return QList<Item>{item("Open Apple Map", onValue(subject, OpenDesktopMap)),
                           item("Open Google Map", onValue(subject, OpenWebMap)),
                           item("Open Address Panel", onValue(subject, OpenValueEditor)),
                           item("Open Edit Panel", OpenListEditor)} +
               addAndDelete(subject);
    if (type == InstantMessage || type == SocialNetwork) {
        const char *open = type == InstantMessage ? "Open IMS Panel" : "Open SNS Panel";
        return QList<Item>{item(open, onValue(subject, OpenValueEditor)), item("Open Edit Panel", OpenListEditor)} +
               addAndDelete(subject);
    }
    return {};
}

QList<Item> dateItems(const Subject &subject, Variant variant)
{
    const bool birthday = subject.type == PersonIdentifier::Birthday;
    QList<Item> items{item("Open Calendar", onValue(subject, OpenValue)),
                      item(birthday ? "Open Birthday Panel" : "Open Dates Panel", OpenListEditor)};
    if (!subject.holdsValue)
        return items;
    if (birthday && variant == Variant::Merge)
        items.append(separator());
    items.append(item("Delete Item", DeleteItem));
    return items;
}

} // namespace

QList<Item> items(const Subject &subject, Variant variant)
{
    const QString &type = subject.type;
    if (type == PersonIdentifier::Name || type == PersonIdentifier::PhoneticName ||
        QNPerson::stringIdentifiers().contains(type))
        return {};
    if (type == PersonIdentifier::Photo)
        return photoItems(subject, variant);
    if (type == Dates || type == PersonIdentifier::Birthday)
        return dateItems(subject, variant);
    if (QNPerson::labeledIdentifiers().contains(type))
        return labeledItems(subject, variant);
    // A labelled custom item has its list editor and nothing else.
    if (subject.valueType == PersonValueType::Labeled)
        return {item("Open Edit Panel", OpenListEditor)};
    return {};
}

void fill(QMenu *menu, const QList<Item> &items, const std::function<void(Command)> &chosen)
{
    for (const Item &entry : items) {
        if (entry.isSeparator()) {
            menu->addSeparator();
            continue;
        }
        QAction *action = menu->addAction(L(entry.title));
        if (!entry.command) {
            action->setEnabled(false);
            continue;
        }
        const Command command = *entry.command;
        action->setData(QVariant::fromValue(int(command)));
        QObject::connect(action, &QAction::triggered, menu, [chosen, command] { chosen(command); });
    }
}

std::optional<Command> commandOf(const QAction *action)
{
    if (!action || action->isSeparator() || !action->data().isValid())
        return std::nullopt;
    return Command(action->data().toInt());
}

} // namespace DetailRowMenu
