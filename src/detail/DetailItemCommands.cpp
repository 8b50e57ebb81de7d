#include "detail/DetailItemCommands.h"

#include "addressbook/TextFormat.h"
#include "detail/DetailCellFactory.h"
#include "detail/DetailEditorPresenter.h"
#include "detail/DetailTableController.h"
#include "detail/DetailTableHost.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "model/WorkspaceURL.h"
#include "platform/Localizer.h"
#include "platform/widgets/Alert.h"
#include "platform/widgets/Workspace.h"
#include "ui/contracts/DetailEditDelegate.h"

#include <QMenu>
#include <QPointer>
#include <QTableView>

namespace {

using DetailRowMenu::Command;

const QString Address = QStringLiteral("Address");
const QString InstantMessage = QStringLiteral("Instant Message");
const QString SocialNetwork = QStringLiteral("Social Network");
const QString Dates = QStringLiteral("Dates");

// The entry "Add Item" adds at once, by kind: its label and text.
std::optional<QVariantMap> defaultEntry(const QString &type)
{
    if (type == QLatin1String("Phone"))
        return QVariantMap{{PersonKey::Label, QStringLiteral("home")}, {PersonKey::Value, QStringLiteral("123")}};
    if (type == QLatin1String("Email") || type == QLatin1String("URL"))
        return QVariantMap{{PersonKey::Label, QStringLiteral("home")}, {PersonKey::Value, QStringLiteral("new")}};
    if (type == QLatin1String("Relationship"))
        return QVariantMap{{PersonKey::Label, QStringLiteral("friend")}, {PersonKey::Value, QStringLiteral("new")}};
    return std::nullopt;
}

} // namespace

DetailItemCommands::DetailItemCommands(DetailTableController &table, DetailTableHost &host,
                                       DetailEditorPresenter &presenter, QObject *parent)
    : QObject(parent), m_table(table), m_host(host), m_presenter(presenter)
{
}

void DetailItemCommands::setClickedCell(int row, int column)
{
    m_clickedRow = row;
    m_clickedColumn = column;
}

bool DetailItemCommands::hasClickedRow() const
{
    return m_clickedRow >= 0 && m_clickedColumn >= 0 && m_clickedRow < m_table.table().size() &&
           m_table.contact() && m_table.contact()->person;
}

QRect DetailItemCommands::clickedRect() const
{
    QTableView *view = m_table.tableView();
    return view->visualRect(view->model()->index(m_clickedRow, m_clickedColumn));
}

// --- the menu -------------------------------------------------------------------------------

void DetailItemCommands::menuNeedsUpdate(QMenu *menu, int clickedRow, int clickedColumn)
{
    menu->clear();
    setClickedCell(clickedRow, clickedColumn);
    const DetailRowMenu::Variant variant = m_host.rowMenuVariant();
    const bool overLabels = variant == DetailRowMenu::Variant::Popover;
    if (!hasClickedRow() || !m_host.editDelegate() ||
        (clickedColumn != DetailCellFactory::ValueColumn && !overLabels))
        return;
    const DetailRowMenu::Subject subject = subjectOfRow(*m_table.table().at(clickedRow));
    DetailRowMenu::fill(menu, DetailRowMenu::items(subject, variant), [this](Command command) { perform(command); });
}

DetailRowMenu::Subject DetailItemCommands::subjectOfRow(const DetailRow &row) const
{
    DetailRowMenu::Subject subject;
    subject.type = row.type;
    subject.valueType = m_table.valueTypeForRow(row);
    QNPerson *person = m_table.contact() ? m_table.contact()->person.get() : nullptr;
    if (!person)
        return subject;
    if (row.type == PersonIdentifier::Photo) {
        subject.holdsValue = !person->photo().isNull();
    } else if (row.type == PersonIdentifier::Birthday) {
        const auto birthday = person->birthdayValue();
        subject.holdsValue = birthday && !birthday->value(PersonKey::StringValue).toString().isEmpty();
    } else if (QNPerson::labeledIdentifiers().contains(row.type)) {
        const auto entry = row.labelIndex ? person->labeledValueForIdentifierAtLabelIndex(row.type, *row.labelIndex)
                                          : std::nullopt;
        subject.holdsValue = entry && (row.type != Dates || !entry->value(PersonKey::StringValue).toString().isEmpty());
    }
    return subject;
}

void DetailItemCommands::perform(Command command)
{
    switch (command) {
    case Command::IconSizeBigger:
        m_table.iconSizeBigger();
        break;
    case Command::IconSizeSmaller:
        m_table.iconSizeSmaller();
        break;
    case Command::AddImage:
        m_table.addImage();
        break;
    case Command::DeleteImage:
        m_table.deleteImage();
        break;
    case Command::OpenValue:
    case Command::OpenDesktopMap:
    case Command::OpenWebMap:
        doWorkspaceAction(command);
        break;
    case Command::OpenValueEditor:
    case Command::OpenListEditor:
        showPopoverWrapper(command);
        break;
    case Command::InsertItem:
        insertItem();
        break;
    case Command::DeleteItem:
        deleteItem();
        break;
    }
}

// --- adding ---------------------------------------------------------------------------------

void DetailItemCommands::insertItem()
{
    DetailEditDelegate *delegate = m_host.editDelegate();
    if (!hasClickedRow() || !delegate)
        return;
    m_table.selectRow(m_clickedRow);
    const QString type = m_table.table().at(m_clickedRow)->type;
    const QRect rect = clickedRect();
    if (type == Address)
        return m_presenter.showAddressPopover(type, -1, rect);
    if (type == SocialNetwork)
        return m_presenter.showSNSPopover(type, -1, rect);
    if (type == InstantMessage)
        return m_presenter.showIMSPopover(type, -1, rect);
    if (type == Dates || type == PersonIdentifier::Birthday)
        return m_presenter.showDatePopover(type, -1, rect);
    const ContactRowPtr contact = m_table.contact();
    bool added = false;
    if (const std::optional<QVariantMap> entry = defaultEntry(type))
        added = delegate->undoAddLabeledValue(*entry, type, contact, m_host.editSender());
    else if (QNPerson::stringIdentifiers().contains(type))
        added = delegate->undoReplaceValue(QStringLiteral("new"), type, contact, m_host.editSender());
    if (!added)
        return;
    m_host.sendContactDidUpdate();
    m_table.updateTable();
}

// --- deleting -------------------------------------------------------------------------------

void DetailItemCommands::deleteItem()
{
    if (!hasClickedRow() || !m_host.editDelegate())
        return;
    const int rowIndex = m_clickedRow;
    const DetailRow row = *m_table.table().at(rowIndex);
    const ContactRowPtr contact = m_table.contact();
    Alert alert;
    alert.setMessageText(TextFormat::fill(
        L(QStringLiteral("Do you want to delete the item(label and text) in the selected cells in column:%@ ?")),
        {row.type}));
    alert.setInformativeText(L(QStringLiteral("This operation can be undone.")));
    alert.addButton(L(QStringLiteral("OK")));
    alert.addButton(L(QStringLiteral("Cancel")), Alert::ButtonRole::Cancel);
    const QPointer<DetailItemCommands> guard(this);
    alert.beginSheetModalForWindow(m_table.tableView()->window(), [guard, rowIndex, row, contact](int response) {
        // The answer may come after the table moved on to another contact.
        if (!guard || response != Alert::FirstButton || guard->m_table.contact() != contact)
            return;
        guard->m_table.selectRow(rowIndex);
        if (!guard->deleteRow(row))
            return;
        guard->m_host.sendContactDidUpdate();
        guard->m_table.reloadDataKeepingSelection();
    });
}

bool DetailItemCommands::deleteRow(const DetailRow &row)
{
    DetailEditDelegate *delegate = m_host.editDelegate();
    const ContactRowPtr contact = m_table.contact();
    QNPerson *person = contact ? contact->person.get() : nullptr;
    if (!delegate || !person)
        return false;
    if (QNPerson::labeledIdentifiers().contains(row.type)) {
        // An entry that is gone already leaves nothing to delete.
        if (!row.labelIndex || !person->labeledValueForIdentifierAtLabelIndex(row.type, *row.labelIndex))
            return false;
        return delegate->undoDeleteLabeledValueForIdentifier(row.type, *row.labelIndex, contact, m_host.editSender());
    }
    if (row.type == PersonIdentifier::PhoneticName)
        return delegate->undoReplacePhoneticNameValue(QVariant(), contact);
    if (row.type == PersonIdentifier::Birthday)
        return delegate->undoReplaceBirthday(QVariant(), contact);
    if (QNPerson::stringIdentifiers().contains(row.type))
        return delegate->undoReplaceValue(QString(), row.type, contact, m_host.editSender());
    return false;
}

// --- opening --------------------------------------------------------------------------------

void DetailItemCommands::doWorkspaceAction(Command command)
{
    if (!hasClickedRow())
        return;
    const DetailRow &row = *m_table.table().at(m_clickedRow);
    QNPerson *person = m_table.contact()->person.get();
    QString text;
    if (row.labelIndex) {
        if (const auto entry = person->labeledValueForIdentifierAtLabelIndex(row.type, *row.labelIndex))
            text = entry->value(PersonKey::StringValue).toString();
    }
    const auto map =
        command == Command::OpenWebMap ? WorkspaceURL::MapService::WebSearch : WorkspaceURL::MapService::Desktop;
    const QUrl url = WorkspaceURL::forValue(row.type, text, map);
    if (!url.isEmpty())
        Workspace::openURL(url, m_table.tableView()->window());
}

void DetailItemCommands::showPopoverWrapper(Command command)
{
    if (!hasClickedRow() || m_clickedColumn >= m_table.tableView()->model()->columnCount())
        return;
    const DetailRow &row = *m_table.table().at(m_clickedRow);
    const QString type = row.type;
    const int labelIndex = row.labelIndex.value_or(0);
    const QRect rect = clickedRect();
    if (type == PersonIdentifier::Name || type == PersonIdentifier::PhoneticName)
        return;
    if (type == Dates || type == PersonIdentifier::Birthday)
        return m_presenter.showDatePopover(type, labelIndex, rect);
    const bool single = command == Command::OpenValueEditor;
    if (single && type == Address)
        return m_presenter.showAddressPopover(type, labelIndex, rect);
    if (single && type == InstantMessage)
        return m_presenter.showIMSPopover(type, labelIndex, rect);
    if (single && type == SocialNetwork)
        return m_presenter.showSNSPopover(type, labelIndex, rect);
    // An address part opens the list of addresses.
    const QString listType = QNPerson::addressIdentifiers().contains(type) ? Address : type;
    m_presenter.showMultiValuePopover(listType, labelIndex, rect);
}
