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
    request.labelIndex = cell.subContact->labelIndex;
    request.cellRect = m_host.cellRect(cell.row, cell.column);
    request.targets = GridTargets(m_host.grid().gridRows(), m_host.grid().editState()
                                                                ? m_host.selectedRowsWithClickedRow(cell.row)
                                                                : QList<int>{cell.row});
    // The name and the contact popover act on one contact: no question.
    if (cell.identifier == PersonIdentifier::Name || request.targets.size() < 2) {
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
    alert.beginSheetModalForWindow(m_host.window(), [self, request, column](int response) {
        if (self && response == Alert::FirstButton)
            self->requestAfterQuestion(request, column);
    });
}

void GridPopoverWrapper::requestAfterQuestion(GridEditorRequest request, int column)
{
    // The grid may have been rebuilt while the question waited: the clicked value is found again,
    // and no editor opens when it is gone.
    const GridRows &rows = m_host.grid().gridRows();
    const int row = GridTargets::rowOf(rows, *request.row);
    if (row < 0)
        return;
    request.row = rows.at(row);
    request.cellRect = m_host.cellRect(row, column);
    request.targets = request.targets.remaining(m_host.grid().contactTable());
    emit editorRequested(request);
}
