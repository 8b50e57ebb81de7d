#include "grid/GridPopoverWrapper.h"

#include "grid/ContactsViewController.h"
#include "grid/GridField.h"
#include "model/QNPersonKeys.h"
#include "platform/Localizer.h"
#include "platform/widgets/Alert.h"

#include <QPointer>

namespace {

const QString AddressIdentifier = QStringLiteral("Address");
const QString InstantMessageIdentifier = QStringLiteral("Instant Message");
const QString SocialIdentifier = QStringLiteral("Social Network");
const QString DatesIdentifier = QStringLiteral("Dates");

} // namespace

GridPopoverWrapper::GridPopoverWrapper(GridCommandHost &host, QObject *parent) : QObject(parent), m_host(host)
{
}

GridEditorRequest GridPopoverWrapper::editorFor(const QString &identifier, GridCommand command)
{
    GridEditorRequest request;
    request.type = identifier;
    auto pick = [&](GridEditor editor, const QString &type = QString()) {
        request.editor = editor;
        if (!type.isNull())
            request.type = type;
        return request;
    };
    if (identifier == PersonIdentifier::Name)
        return pick(command == GridCommand::OpenNamePanel ? GridEditor::Name : GridEditor::ContactInfo);
    if (identifier == DatesIdentifier || identifier == PersonIdentifier::Birthday)
        return pick(GridEditor::Date);
    if (identifier == PersonIdentifier::PhoneticName)
        return pick(GridEditor::PhoneticName);
    if (identifier == AddressIdentifier || GridField::isAddressPart(identifier)) {
        if (command == GridCommand::OpenAddressPanel)
            return pick(GridEditor::Address, AddressIdentifier);
        return pick(GridEditor::MultiValue);
    }
    if (identifier == InstantMessageIdentifier && command == GridCommand::OpenIMSPanel)
        return pick(GridEditor::InstantMessage);
    if (identifier == SocialIdentifier && command == GridCommand::OpenSNSPanel)
        return pick(GridEditor::SocialProfile);
    return pick(GridEditor::MultiValue);
}

void GridPopoverWrapper::showPopoverWrapper(GridCommand command)
{
    const GridClickedCell cell = m_host.clickedCell();
    if (!cell.isValid())
        return;
    GridEditorRequest request = editorFor(cell.identifier, command);
    request.row = cell.subContact;
    request.gridRow = cell.row;
    request.labelIndex = cell.subContact->labelIndex;
    request.cellRect = m_host.cellRect(cell.row, cell.column);
    request.targetRows =
        m_host.grid().editState() ? m_host.selectedRowsWithClickedRow(cell.row) : QList<int>{cell.row};
    // The name and the contact popover act on one contact: no question.
    if (cell.identifier == PersonIdentifier::Name || request.targetRows.size() < 2) {
        emit editorRequested(request);
        return;
    }
    Alert alert;
    alert.setMessageText(L(QStringLiteral("Do you want to set the same value in the selected rows")));
    alert.setInformativeText(L(QStringLiteral("This operation can be undone.")));
    alert.addButton(L(QStringLiteral("OK")));
    alert.addButton(L(QStringLiteral("Cancel")), Alert::ButtonRole::Cancel);
    QPointer<GridPopoverWrapper> self(this);
    const int column = cell.column;
    alert.beginSheetModalForWindow(m_host.window(), [self, request, column](int response) mutable {
        if (!self || response != Alert::FirstButton)
            return;
        // The table may have been reloaded meanwhile: the cell's rectangle is taken now.
        request.cellRect = self->m_host.cellRect(request.gridRow, column);
        emit self->editorRequested(request);
    });
}
