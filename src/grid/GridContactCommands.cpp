#include "grid/GridContactCommands.h"

#include "addressbook/UndoGroup.h"
#include "grid/ContactsViewController.h"
#include "model/NormalizePhoneNumber.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "model/QNvCard.h"
#include "platform/Localizer.h"
#include "platform/widgets/Alert.h"
#include "platform/widgets/FilePanel.h"
#include "platform/widgets/Workspace.h"
#include "ui/contracts/GridEditDelegate.h"

#include <QPointer>
#include <QRegularExpression>
#include <QSaveFile>

namespace {

const QString PhoneIdentifier = QStringLiteral("Phone");

} // namespace

GridContactCommands::GridContactCommands(GridCommandHost &host, QObject *parent)
    : QObject(parent), m_host(host)
{
}

// --- phone layouts --------------------------------------------------------------------------

QString GridContactCommands::layoutNumber(const NormalizePhoneNumber &normalizer, PhoneLayout layout)
{
    switch (layout) {
    case PhoneLayout::FourPlusFour:
        return normalizer.fourPlusFour();
    case PhoneLayout::ThreePlusFour:
        return normalizer.threePlusFour();
    case PhoneLayout::TwoPlusFour:
        return normalizer.twoPlusFour();
    case PhoneLayout::QuadTwo:
        return normalizer.quadTwo();
    case PhoneLayout::HyphenThreeFour:
        return normalizer.hyphenThreeFour();
    case PhoneLayout::HyphenFourThreeThree:
        return normalizer.hyphenFourThreeThree();
    }
    return {};
}

bool GridContactCommands::canNormalizePhoneNumber() const
{
    return m_host.grid().tableIdentifiers().contains(PhoneIdentifier);
}

void GridContactCommands::normalizePhoneNumber(PhoneLayout layout)
{
    GridEditDelegate *edits = m_host.edits();
    if (!edits)
        return;
    // Every entry is read before the first write, which reloads and re-sorts the rows.
    QList<QPair<SubContactRowPtr, QVariantMap>> changes;
    NormalizePhoneNumber normalizer;
    for (const SubContactRowPtr &row : m_host.grid().selectedSubContacts()) {
        const auto entry = row->person->labeledValueForIdentifierAtIndex(PhoneIdentifier, row->labelIndex);
        if (!entry)
            continue;
        const QString number = entry->value(PersonKey::Value).toString();
        normalizer.setPhoneNumber(number);
        const QString laidOut = layoutNumber(normalizer, layout);
        if (laidOut.isEmpty() || laidOut == number)
            continue;
        QVariantMap changed = *entry;
        changed.insert(PersonKey::Value, laidOut);
        changes.append({row, changed});
    }
    bool sent = false;
    {
        UndoGroup group(*edits->undoManager());
        for (const auto &[row, entry] : std::as_const(changes)) {
            edits->undoReplaceLabeledValue(entry, PhoneIdentifier, row, &m_host.grid());
            sent = true;
        }
    }
    m_host.finishChanges(sent);
}

// --- contacts -------------------------------------------------------------------------------

QList<ContactRowPtr> GridContactCommands::clickedContacts() const
{
    const GridClickedCell cell = m_host.clickedCell();
    if (!cell.isValid())
        return {};
    return m_host.grid().selectedContactsWithClickedRowIndex(cell.row).value_or(QList<ContactRowPtr>());
}

void GridContactCommands::duplicateContact()
{
    GridEditDelegate *edits = m_host.edits();
    if (!edits || !m_host.grid().editState())
        return;
    QList<ContactRowPtr> duplicates;
    for (const ContactRowPtr &contact : clickedContacts()) {
        if (!contact || !contact->person)
            continue;
        // The copy reads every value of its source first, so nothing the grid never showed is lost.
        auto row = std::make_shared<ContactRow>();
        row->person = contact->person->copy();
        row->uniqueId = row->person->uniqueId();
        row->isNew = true;
        duplicates.append(row);
    }
    if (duplicates.isEmpty())
        return;
    edits->undoAddContacts(duplicates, edits->selectedGroupDict());
    edits->setDocumentEdited(true);
}

void GridContactCommands::deleteContact()
{
    GridEditDelegate *edits = m_host.edits();
    if (!edits || !m_host.grid().editState())
        return;
    const QList<ContactRowPtr> contacts = clickedContacts();
    if (contacts.isEmpty())
        return;
    edits->undoDeleteContacts(contacts, edits->selectedGroupDict(), true);
    edits->setDocumentEdited(true);
}


void GridContactCommands::exportContact()
{
    const QList<ContactRowPtr> contacts = clickedContacts();
    if (contacts.isEmpty() || !contacts.first()->person)
        return;
    FilePanel panel(FilePanel::Kind::Save);
    panel.setNameFieldLabel(L(QStringLiteral("Export As:")));
    panel.setAllowedFileTypes({QStringLiteral("public.vcard"), QStringLiteral("public.plain-text")});
    panel.setNameFieldStringValue(FilePanel::safeFileName(contacts.first()->person->compositeName()) +
                                  QStringLiteral(".vcf"));
    QPointer<GridContactCommands> self(this);
    panel.beginSheetModalForWindow(m_host.window(), [self, contacts](const QString &path) {
        if (self && !path.isEmpty())
            self->writeExport(path, contacts);
    });
}

void GridContactCommands::writeExport(const QString &path, const QList<ContactRowPtr> &contacts)
{
    // The writer reads the class-level definitions to write the custom items.
    QNPerson::setCustomItems(m_host.grid().customItems());
    ContactTable rows;
    for (const ContactRowPtr &contact : contacts)
        rows.append(contact);
    const QString text = QNvCard().vCardsFromContacts(
        rows, {QNvCardOption::Note, QNvCardOption::Photo, QNvCardOption::Custom});
    QSaveFile file(path);
    const QByteArray data = text.toUtf8();
    bool written = file.open(QIODevice::WriteOnly) && file.write(data) == data.size();
    QString error = file.errorString();
    if (written) {
        written = file.commit();
        error = file.errorString();
    } else {
        file.cancelWriting();
    }
    if (written)
        return;
    Alert alert;
    alert.setMessageText(L(QStringLiteral("Couldn't export the contact")));
    alert.setInformativeText(error);
    alert.addButton(L(QStringLiteral("OK")));
    alert.beginSheetModalForWindow(m_host.window());
}

// --- links ----------------------------------------------------------------------------------

void GridContactCommands::doWorkspaceAction(WorkspaceURL::MapService map)
{
    const GridClickedCell cell = m_host.clickedCell();
    if (!cell.isValid())
        return;
    QNPerson &person = *cell.subContact->person;
    QString text;
    if (cell.identifier == PersonIdentifier::Birthday) {
        text = person.stringValueForIdentifier(cell.identifier);
    } else if (const auto entry =
                   person.labeledValueForIdentifierAtIndex(cell.identifier, cell.subContact->labelIndex)) {
        text = entry->value(PersonKey::StringValue).toString();
    }
    // The address parts have no rule of their own, so they open nothing.
    const QUrl url = WorkspaceURL::forValue(cell.identifier, text, map);
    if (url.isValid() && !url.isEmpty())
        Workspace::openURL(url, m_host.window());
}
