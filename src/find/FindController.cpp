#include "find/FindController.h"

#include "addressbook/UndoGroup.h"
#include "find/FindPanel.h"
#include "find/FindReplace.h"
#include "find/FindScope.h"
#include "model/QNPersonKeys.h"
#include "platform/Localizer.h"
#include "platform/widgets/FindPasteboard.h"
#include "ui/contracts/ContactInfoInterface.h"
#include "ui/contracts/ContactsGridInterface.h"
#include "ui/contracts/FindBarInterface.h"
#include "ui/contracts/FindHost.h"

#include <QAbstractItemView>

// The views report no selection while find moves it, and report again when it is done.
class FindController::DelegatesOff
{
public:
    explicit DelegatesOff(FindHost &host) : m_host(host)
    {
        m_host.contactsViewController()->setDelegate(nullptr);
        m_host.contactInfoController()->setDelegate(nullptr);
    }
    ~DelegatesOff()
    {
        m_host.contactsViewController()->setDelegate(m_host.contactsViewControllerDelegate());
        m_host.contactInfoController()->setDelegate(m_host.contactInfoControllerDelegate());
    }
    DelegatesOff(const DelegatesOff &) = delete;
    DelegatesOff &operator=(const DelegatesOff &) = delete;

private:
    FindHost &m_host;
};

FindController::FindController(FindHost &host) : m_host(host) {}

// --- the bar and the menu -------------------------------------------------------------------

void FindController::showFindBar(bool show)
{
    if (show)
        refreshFromPasteboard();
    m_host.findBarController()->setVisible(show, [this] { m_host.setFindBarButtonEnabled(true); });
}

void FindController::performFindBarAction(MenuCommand command)
{
    const bool steps = command == MenuCommand::FindNext || command == MenuCommand::FindPrevious;
    if (steps && searchShownText(command))
        return;
    refreshFromPasteboard();
    switch (command) {
    case MenuCommand::Find:
    case MenuCommand::FindAndReplace:
        toggleFindBar();
        break;
    case MenuCommand::FindNext:
    case MenuCommand::FindPrevious: {
        const FindDirection direction =
            command == MenuCommand::FindNext ? FindDirection::Forward : FindDirection::Backward;
        if (walk(direction, m_findString, m_host.contactInfoVisible())) {
            const DelegatesOff off(m_host);
            show(Shown::Menu);
        }
        break;
    }
    case MenuCommand::UseSelectionForFind:
        break;
    }
}

// The pasteboard still holds the last search's string: taken first, it would overwrite what the
// user typed into the field and step through the old string.
bool FindController::searchShownText(MenuCommand command)
{
    FindBarInterface *bar = m_host.findBarController();
    if (!bar->isVisible())
        return false;
    const QString shown = bar->shownSearchString();
    if (shown.isEmpty())
        return true;
    if (shown == m_findString)
        return false;
    bar->setSearchString(shown);
    findStringDidChange(shown);
    return command == MenuCommand::FindNext;
}

FindPanelSetup FindController::findPanelSetup(bool editState, DateEditorFactory dateEditorFactory)
{
    refreshFromPasteboard();
    FindPanelSetup setup;
    setup.contacts = m_host.contactTable();
    setup.customItems = m_host.customItems();
    setup.selectedItems = m_host.contactsViewController()->tableIdentifiers();
    setup.editState = editState;
    setup.searchString = sharedFindString();
    setup.funnel = &m_host.editFunnel();
    setup.mainUndoManager = m_host.undoManager();
    setup.dateEditorFactory = std::move(dateEditorFactory);
    return setup;
}

void FindController::showFindPanel(bool editState, DateEditorFactory dateEditorFactory, QWidget *window)
{
    FindPanel::showFindPanel(findPanelSetup(editState, std::move(dateEditorFactory)), window);
    m_host.contactsViewController()->updateTable();
}

void FindController::toggleFindBar()
{
    FindBarInterface *bar = m_host.findBarController();
    if (!bar->isVisible()) {
        bar->setVisible(true, {});
        m_host.setFindBarButtonTitle(L(QStringLiteral("Hide")));
        return;
    }
    bar->setVisible(false, {});
    m_host.setFindBarButtonTitle(L(QStringLiteral("Find")));
    takeFindString(QString());
    m_host.contactInfoController()->updateTable();
    m_host.contactsViewController()->updateTable();
}

void FindController::findStringDidChange(const QString &findString)
{
    m_findString = findString;
    if (findString.isEmpty()) {
        m_clearedSharedString = FindPasteboard::string();
    } else {
        m_clearedSharedString.clear();
        FindPasteboard::setString(findString);
    }
    const bool found = walk(FindDirection::Forward, m_findString, m_host.contactInfoVisible()).has_value();
    ContactInfoInterface *detail = m_host.contactInfoController();
    ContactsGridInterface *grid = m_host.contactsViewController();
    detail->setFindString(m_findString);
    grid->setFindString(m_findString);
    detail->setFindOptions(caseSensitivity());
    grid->setFindOptions(caseSensitivity());
    if (found) {
        const DelegatesOff off(m_host);
        show(Shown::StringChange);
        return;
    }
    // No string: the marks go from both views.
    grid->updateTable();
    detail->updateTable();
}

void FindController::findBarButtonDidPress(FindBarCommand command)
{
    switch (command) {
    case FindBarCommand::Done:
        done();
        break;
    case FindBarCommand::OptionChanged:
        optionChanged();
        break;
    case FindBarCommand::Next:
        step(FindDirection::Forward);
        break;
    case FindBarCommand::Previous:
        step(FindDirection::Backward);
        break;
    case FindBarCommand::Replace:
        replaceAtCursor();
        break;
    case FindBarCommand::ReplaceAll:
        replaceEverywhere();
        break;
    }
}

// The bar is already hiding; the cursor stays for the next search.
void FindController::done()
{
    m_findString.clear();
    m_host.findBarController()->setSearchString(QString());
    m_host.contactsViewController()->setFindString(QString());
    m_host.contactInfoController()->setFindString(QString());
    m_host.contactInfoController()->updateTable();
    m_host.contactsViewController()->updateTable();
    m_host.findBarButtonClicked();
}

void FindController::optionChanged()
{
    m_host.contactInfoController()->setFindOptions(caseSensitivity());
    m_host.contactsViewController()->setFindOptions(caseSensitivity());
    if (m_host.contactInfoVisible())
        m_host.contactInfoController()->updateTable();
    m_host.contactsViewController()->updateTable();
}

void FindController::step(FindDirection direction)
{
    if (!walk(direction, m_findString, m_host.contactInfoVisible()))
        return;
    const DelegatesOff off(m_host);
    show(Shown::Step);
}

// Replaces only a current match; either way the search goes on forwards from the cursor.
void FindController::replaceAtCursor()
{
    if (m_findString.isEmpty() || !m_cursor)
        return;
    const DelegatesOff off(m_host);
    replaceByString(m_host.findBarController()->replaceString(), *m_cursor);
    if (walk(FindDirection::Forward, m_findString, m_host.contactInfoVisible()))
        show(Shown::Replace);
}

void FindController::replaceEverywhere()
{
    if (m_findString.isEmpty())
        return;
    {
        const UndoGroup group(*m_host.undoManager());
        replaceAll(m_host.findBarController()->replaceString(), caseSensitivity());
    }
    const DelegatesOff off(m_host);
    m_host.contactsViewController()->updateTable();
    if (!m_host.contactInfoVisible())
        m_host.contactsViewController()->tableView()->setFocus();
}

void FindController::refreshFromPasteboard()
{
    const QString shared = sharedFindString();
    if (!shared.isEmpty())
        takeFindString(shared);
}

QString FindController::sharedFindString() const
{
    const QString shared = FindPasteboard::string();
    return shared == m_clearedSharedString ? QString() : shared;
}

void FindController::takeFindString(const QString &findString)
{
    m_findString = findString;
    m_host.findBarController()->setSearchString(findString);
    m_host.contactInfoController()->setFindString(findString);
    m_host.contactsViewController()->setFindString(findString);
}

// --- the cursor -----------------------------------------------------------------------------

void FindController::rowSelectionDidChange(const SubContactRowPtr &firstSelected)
{
    if (!firstSelected)
        return;
    ItemAndRange cursor;
    cursor.contact = firstSelected;
    cursor.uniqueId = firstSelected->uniqueId;
    cursor.identifier = PersonIdentifier::Name;
    // The row's position: the name is searched on the contact's first row only.
    cursor.labelIndex = firstSelected->labelIndex;
    cursor.setRange({0, 0});
    m_cursor = cursor;
}

void FindController::rowSelectionDidChange(const DetailRow &detailRow)
{
    ItemAndRange cursor = m_cursor.value_or(ItemAndRange());
    cursor.identifier = detailRow.type;
    cursor.subIdentifier.clear();
    cursor.labelIndex = 0;
    // A name row names its part; the part's position is no entry of a list.
    if (detailRow.type == PersonIdentifier::Name || detailRow.type == PersonIdentifier::PhoneticName)
        cursor.subIdentifier = detailRow.label.value_or(QString());
    else
        cursor.labelIndex = detailRow.labelIndex.value_or(0);
    cursor.setRange({0, 0});
    cursor.itemRange.reset();
    m_cursor = cursor;
}

std::optional<ItemAndRange> FindController::findNextString(const QString &findString, bool contactInfoVisible)
{
    return walk(FindDirection::Forward, findString, contactInfoVisible);
}

std::optional<ItemAndRange> FindController::findPreviousString(const QString &findString,
                                                               bool contactInfoVisible)
{
    return walk(FindDirection::Backward, findString, contactInfoVisible);
}

std::optional<ItemAndRange> FindController::walk(FindDirection direction, const QString &findString,
                                                 bool contactInfoVisible)
{
    if (findString.isEmpty())
        return std::nullopt;
    m_findString = findString;
    if (!m_cursor) {
        ItemAndRange start;
        start.identifier = PersonIdentifier::Name;
        start.setRange({0, 0});
        const QList<SubContactRowPtr> rows = m_host.contactsViewController()->subContactTable();
        if (!rows.isEmpty())
            start.uniqueId = rows.first()->uniqueId;
        m_cursor = start;
    }
    const FindFields fields = this->fields();
    const FieldSearch search(m_findString, caseSensitivity(), fields);
    const std::optional<ItemAndRange> hit =
        contactInfoVisible ? FindWalk::walkDetail(direction, search, fields, *m_cursor, detailSnapshot())
                           : FindWalk::walkGrid(direction, search, fields, *m_cursor, gridSnapshot());
    if (hit)
        m_cursor = hit;
    return m_cursor;
}

// Who gets the position differs by action: a step over the detail table leaves the grid without
// a hit, while the menu's steps show it in both.
void FindController::show(Shown shown)
{
    ContactsGridInterface *grid = m_host.contactsViewController();
    ContactInfoInterface *detail = m_host.contactInfoController();
    const std::optional<ItemAndRange> gridHit =
        m_cursor ? std::optional<ItemAndRange>(fields().forGrid(*m_cursor)) : std::nullopt;
    const bool detailShown = m_host.contactInfoVisible();
    switch (shown) {
    case Shown::Menu:
        detail->selectItemAndRange(m_cursor);
        grid->selectItemAndRange(gridHit);
        break;
    case Shown::StringChange:
        detail->selectItemAndRange(m_cursor);
        grid->selectItemAndRange(detailShown ? std::nullopt : gridHit);
        (detailShown ? detail->tableView() : grid->tableView())->setFocus();
        break;
    case Shown::Step:
        if (detailShown) {
            detail->selectItemAndRange(m_cursor);
            grid->selectItemAndRange(std::nullopt);
        } else {
            grid->selectItemAndRange(gridHit);
            detail->selectItemAndRange(m_cursor);
        }
        break;
    case Shown::Replace:
        if (detailShown) {
            detail->tableView()->setFocus();
            detail->selectItemAndRange(m_cursor);
        } else {
            grid->selectItemAndRange(gridHit);
            grid->tableView()->setFocus();
        }
        break;
    }
}

// --- replacing ------------------------------------------------------------------------------

bool FindController::replaceByString(const QString &replacement, const ItemAndRange &position)
{
    const ContactTablePtr &contacts = m_host.contactTable();
    if (!contacts)
        return false;
    const FindReplace replace(m_host.editFunnel(), fields(), m_findString, caseSensitivity());
    const FindReplace::Replacement result = replace.replaceByString(replacement, position, *contacts);
    if (result.outcome != FindReplace::Outcome::Replaced)
        return result.outcome == FindReplace::Outcome::Unchanged;
    m_cursor = result.cursor;
    m_host.contactsViewController()->updateTable();
    ContactInfoInterface *detail = m_host.contactInfoController();
    // The pane's own row of the contact keeps what it shows beside the values (its groups).
    const ContactRowPtr shown = detail->contact();
    if (shown && shown->uniqueId == result.row->uniqueId)
        detail->updateTable();
    else
        detail->setContact(result.row);
    m_host.setDocumentEdited(true);
    return true;
}

void FindController::replaceAll(const QString &replacement, Qt::CaseSensitivity cs)
{
    const FindReplace replace(m_host.editFunnel(), fields(), m_findString, cs);
    const ContactRowPtr detailContact =
        m_host.contactInfoVisible() ? m_host.contactInfoController()->contact() : nullptr;
    replace.replaceAll(replacement, m_host.contactTable(),
                       m_host.contactsViewController()->tableIdentifiers(), detailContact);
}

// --- what find reads ------------------------------------------------------------------------

Qt::CaseSensitivity FindController::caseSensitivity() const
{
    return m_host.findBarController()->isCaseInsensitive() ? Qt::CaseInsensitive : Qt::CaseSensitive;
}

FindFields FindController::fields() const
{
    return FindFields(m_host.customItems());
}

GridSnapshot FindController::gridSnapshot() const
{
    ContactsGridInterface *grid = m_host.contactsViewController();
    GridSnapshot snapshot{grid->tableIdentifiers(), grid->subContactTable()};
    const QSet<QString> deleted = deletedContacts();
    snapshot.rows.removeIf(
        [&](const SubContactRowPtr &row) { return !row || deleted.contains(row->uniqueId); });
    return snapshot;
}

DetailSnapshot FindController::detailSnapshot() const
{
    ContactInfoInterface *detail = m_host.contactInfoController();
    DetailSnapshot snapshot{detail->rowOrderTable(), detail->contact()};
    if (!FindScope::holds(snapshot.contact) || deletedContacts().contains(snapshot.contact->uniqueId))
        snapshot.contact.reset();
    return snapshot;
}

QSet<QString> FindController::deletedContacts() const
{
    const ContactTablePtr &contacts = m_host.contactTable();
    return contacts ? FindScope::deletedIds(*contacts) : QSet<QString>();
}
