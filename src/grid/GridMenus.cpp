#include "grid/GridMenus.h"

#include "addressbook/DefaultsKey.h"
#include "addressbook/SortOptions.h"
#include "grid/ContactsViewController.h"
#include "grid/GridCommands.h"
#include "grid/GridField.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "platform/Localizer.h"
#include "platform/UserDefaults.h"

#include <QAction>
#include <QHeaderView>
#include <QMenu>

namespace {

using C = GridCommand;

const QString AddressIdentifier = QStringLiteral("Address");
const QString ItemsKey = QStringLiteral("items");
const QString SelectedKey = QStringLiteral("selected");
const QString SortOptionProperty = QStringLiteral("sortOption");

QString titleKey(GridCommand command)
{
    switch (command) {
    case C::ShowContactInfo:
        return QStringLiteral("Show Contact Info");
    case C::OpenNamePanel:
        return QStringLiteral("Open Name Panel");
    case C::OpenEditPanel:
        return QStringLiteral("Open Edit Panel");
    case C::OpenAddressPanel:
        return QStringLiteral("Open Address Panel");
    case C::OpenIMSPanel:
        return QStringLiteral("Open IMS Panel");
    case C::OpenSNSPanel:
        return QStringLiteral("Open SNS Panel");
    case C::OpenDatesPanel:
        return QStringLiteral("Open Dates Panel");
    case C::OpenBirthdayPanel:
        return QStringLiteral("Open Birthday Panel");
    case C::OpenPhoneticNamePanel:
        return QStringLiteral("Open Phonetic Name Panel");
    case C::ShowQRCode:
        return QStringLiteral("Show QRCode");
    case C::AddContact:
        return QStringLiteral("Add New Contact");
    case C::DeleteContact:
        return QStringLiteral("Delete Contact");
    case C::DuplicateContact:
        return QStringLiteral("Duplicate Contact");
    case C::ExportContact:
        return QStringLiteral("Export Contact as vCard");
    case C::ToggleShowCompany:
        return QStringLiteral("Show Company in the Name Cell");
    case C::CallPhone:
        return QStringLiteral("Call Phone");
    case C::SendEmail:
        return QStringLiteral("Send Email");
    case C::OpenURL:
        return QStringLiteral("Open URL");
    case C::OpenDesktopMap:
        return QStringLiteral("Open Apple Map");
    case C::OpenWebMap:
        return QStringLiteral("Open Google Map");
    case C::OpenCalendar:
        return QStringLiteral("Open Calendar");
    case C::AddItem:
        return QStringLiteral("Add Item");
    case C::DeleteItem:
        return QStringLiteral("Delete Item");
    case C::ClearText:
        return QStringLiteral("Clear Text");
    case C::ReplaceLabelAndText:
        return QStringLiteral("Replace Label and Text");
    case C::ReplaceText:
        return QStringLiteral("Replace Text");
    case C::PrependText:
        return QStringLiteral("Prepend Text");
    case C::AppendText:
        return QStringLiteral("Append Text");
    case C::SortOption:
    case C::None:
        break;
    }
    return {};
}

// The link item of the columns whose values open elsewhere.
GridCommand linkCommand(const QString &identifier)
{
    if (identifier == QStringLiteral("Phone"))
        return C::CallPhone;
    if (identifier == QStringLiteral("Email"))
        return C::SendEmail;
    if (identifier == QStringLiteral("URL"))
        return C::OpenURL;
    return C::None;
}

} // namespace

GridMenus::GridMenus(GridCommandHost &host, GridCommands &commands)
    : QObject(&commands), m_host(host), m_commands(commands)
{
    GridTableView *table = m_host.grid().gridTableView();
    connect(table, &GridTableView::contextMenuRequested, this, &GridMenus::showCellMenu);
    QHeaderView *header = table->horizontalHeader();
    header->setContextMenuPolicy(Qt::CustomContextMenu);
    connect(header, &QHeaderView::customContextMenuRequested, this, &GridMenus::showHeaderMenu);
}

// --- cell menu ------------------------------------------------------------------------------

bool GridMenus::valuePresent(const GridClickedCell &cell, const QString &type) const
{
    QNPerson &person = *cell.subContact->person;
    const QString &identifier = cell.identifier;
    const int position = cell.subContact->labelIndex;
    if (identifier == PersonIdentifier::Birthday)
        return !person.stringValueForIdentifier(identifier).isEmpty();
    if (identifier == PersonIdentifier::PhoneticName) {
        const auto phonetic = person.phoneticNameValue();
        return phonetic && !phonetic->value(PersonKey::StringValue).toString().isEmpty();
    }
    const QString list = GridField::isAddressPart(identifier) ? AddressIdentifier : identifier;
    if (identifier == QStringLiteral("Dates")) {
        const auto entry = person.labeledValueForIdentifierAtIndex(list, position);
        return entry && !entry->value(PersonKey::StringValue).toString().isEmpty();
    }
    if (GridField::isAddressPart(identifier) || type == PersonValueType::Labeled) {
        const auto entry = person.labeledValueForIdentifierAtIndex(list, position);
        return entry && !entry->isEmpty();
    }
    return !person.stringValueForIdentifier(identifier).isEmpty();
}

QList<GridMenus::Item> GridMenus::cellItems(const GridClickedCell &cell) const
{
    const bool editing = m_host.grid().editState();
    const QString &identifier = cell.identifier;
    const QString type = m_host.valueType(identifier, *cell.subContact->person);
    const bool present = valuePresent(cell, type);
    const Item separator{C::None, true};
    auto item = [](GridCommand command) { return Item{command, true}; };
    // Edit-only items have no action while the grid is locked.
    auto edit = [editing](GridCommand command) { return Item{command, editing}; };
    auto when = [](GridCommand command, bool hasAction) { return Item{command, hasAction}; };
    const QList<Item> changeText{edit(C::ReplaceText), edit(C::PrependText), edit(C::AppendText)};

    QList<Item> items;
    if (identifier == PersonIdentifier::Name) {
        items << item(C::ShowContactInfo) << item(C::OpenNamePanel) << item(C::ShowQRCode) << separator;
        if (editing)
            items << item(C::AddContact);
        items << edit(C::DeleteContact) << edit(C::DuplicateContact) << item(C::ExportContact) << separator
              << item(C::ToggleShowCompany);
        return items;
    }
    const GridCommand link = linkCommand(identifier);
    if (link != C::None || identifier == QStringLiteral("Relationship")) {
        if (link != C::None)
            items << when(link, present) << separator;
        items << item(C::OpenEditPanel);
        if (!present)
            return items << edit(C::AddItem);
        return items << edit(C::ReplaceLabelAndText) << edit(C::DeleteItem) << edit(C::AddItem) << separator
                     << changeText;
    }
    if (identifier == AddressIdentifier) {
        items << when(C::OpenDesktopMap, present) << when(C::OpenWebMap, present) << separator
              << when(C::OpenAddressPanel, present) << item(C::OpenEditPanel);
        if (present)
            items << edit(C::DeleteItem);
        return items << edit(C::AddItem);
    }
    if (GridField::isAddressPart(identifier)) {
        items << item(C::OpenAddressPanel) << edit(C::AddItem);
        if (present)
            items << edit(C::DeleteItem) << separator << changeText;
        return items;
    }
    if (identifier == QStringLiteral("Instant Message") || identifier == QStringLiteral("Social Network")) {
        const bool social = identifier == QStringLiteral("Social Network");
        // An empty instant-message row has no panel item at all; an empty social one shows it disabled.
        if (present || social)
            items << when(social ? C::OpenSNSPanel : C::OpenIMSPanel, present);
        items << item(C::OpenEditPanel);
        if (present)
            items << edit(C::DeleteItem);
        return items << edit(C::AddItem);
    }
    if (identifier == QStringLiteral("Dates") || identifier == PersonIdentifier::Birthday) {
        const bool birthday = identifier == PersonIdentifier::Birthday;
        items << when(C::OpenCalendar, present) << separator
              << item(birthday ? C::OpenBirthdayPanel : C::OpenDatesPanel);
        if (present)
            items << edit(C::DeleteItem);
        return items;
    }
    if (identifier == PersonIdentifier::PhoneticName) {
        items << item(C::OpenPhoneticNamePanel);
        if (present)
            items << separator << edit(C::DeleteItem);
        return items;
    }
    if (type == PersonValueType::Labeled) {
        items << item(C::OpenEditPanel) << separator;
        if (!present)
            return items << edit(C::AddItem);
        return items << edit(C::ReplaceLabelAndText) << edit(C::DeleteItem) << separator << changeText;
    }
    if (type == PersonValueType::String) {
        if (present)
            items << edit(C::ClearText);
        return items << changeText.mid(0, present ? 3 : 1);
    }
    return items;
}

void GridMenus::addItem(QMenu *menu, const Item &item) const
{
    if (item.command == C::None) {
        menu->addSeparator();
        return;
    }
    QAction *action = menu->addAction(L(titleKey(item.command)));
    if (!item.hasAction) {
        action->setEnabled(false);
        return;
    }
    setGridCommand(action, item.command);
    action->setEnabled(m_commands.validateMenuItem(action));
    GridCommands *commands = &m_commands;
    const GridCommand command = item.command;
    connect(action, &QAction::triggered, commands, [commands, command] { commands->perform(command); });
}

QMenu *GridMenus::makeCellMenu()
{
    const GridClickedCell cell = m_host.clickedCell();
    if (!cell.isValid())
        return nullptr;
    const QList<Item> items = cellItems(cell);
    if (items.isEmpty())
        return nullptr;
    auto *menu = new QMenu;
    for (const Item &item : items)
        addItem(menu, item);
    return menu;
}

void GridMenus::showCellMenu(const QPoint &globalPosition)
{
    popup(makeCellMenu(), globalPosition);
}

// --- header menu ----------------------------------------------------------------------------

QMenu *GridMenus::makeHeaderMenu(int column)
{
    const QString identifier = m_host.identifierOfColumn(column);
    if (identifier.isEmpty())
        return nullptr;
    const QVariantMap dict = m_host.grid().defaults().dictionaryForKey(DefaultsKey::SortOptionsDict);
    if (!dict.contains(identifier))
        return nullptr;
    const QVariantMap entry = dict.value(identifier).toMap();
    auto *menu = new QMenu;
    menu->setTitle(identifier);
    menu->addAction(L(QStringLiteral("Sort by")))->setEnabled(false);
    const QString selected = entry.value(SelectedKey).toString();
    for (const QVariant &name : entry.value(ItemsKey).toList()) {
        const QString option = name.toString();
        QAction *item = menu->addAction(QNPerson::localizedIdentifierForKey(option));
        setGridCommand(item, C::SortOption);
        item->setProperty(SortOptionProperty.toLatin1().constData(), option);
        item->setCheckable(true);
        item->setChecked(option == selected);
        connect(item, &QAction::triggered, this,
                [this, identifier, option] { sortOptionSelected(identifier, option); });
    }
    return menu;
}

void GridMenus::showHeaderMenu(const QPoint &position)
{
    QHeaderView *header = m_host.grid().gridTableView()->horizontalHeader();
    popup(makeHeaderMenu(header->logicalIndexAt(position)), header->mapToGlobal(position));
}

// Choosing the option already chosen writes nothing, but the grid still sorts by the column.
void GridMenus::sortOptionSelected(const QString &identifier, const QString &option)
{
    UserDefaults &defaults = m_host.grid().defaults();
    QVariantMap dict = defaults.dictionaryForKey(DefaultsKey::SortOptionsDict);
    if (!dict.contains(identifier))
        return;
    QVariantMap entry = dict.value(identifier).toMap();
    if (entry.value(SelectedKey).toString() != option) {
        entry.insert(SelectedKey, option);
        dict.insert(identifier, entry);
        defaults.setObject(dict, DefaultsKey::SortOptionsDict);
        // The choices alone are what the next start rebuilds the table from.
        defaults.setObject(SortOptions::choicesOf(dict), DefaultsKey::SortOptionsDefault);
        emit sortOptionsDictChanged();
    }
    m_host.grid().sortOptionsChanged(entry, identifier);
}

void GridMenus::popup(QMenu *menu, const QPoint &globalPosition)
{
    if (m_shown)
        m_shown->deleteLater();
    m_shown = menu;
    if (!menu)
        return;
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->popup(globalPosition);
}
