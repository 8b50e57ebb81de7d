#include "app/ViewController.h"

#include "addressbook/AddressBookLoader.h"
#include "addressbook/ContactGroupEdits.h"
#include "addressbook/ContactTableSorting.h"
#include "addressbook/DefaultsKey.h"
#include "addressbook/EditFunnel.h"
#include "addressbook/ViewTypes.h"
#include "app/ChangeBroadcast.h"
#include "app/ContactDrops.h"
#include "app/FontManager.h"
#include "app/GridWidthFloor.h"
#include "app/GroupContactCommands.h"
#include "app/MenuCommand.h"
#include "app/PaneWidths.h"
#include "app/ViewFindHost.h"
#include "app/WindowController.h"
#include "detail/ContactInfoPopover.h"
#include "detail/ContactInfoWindowController.h"
#include "detail/DetailEditorPresenter.h"
#include "detail/DetailFont.h"
#include "editors/AddressViewController.h"
#include "editors/DateEditorAdapter.h"
#include "editors/MultiValueViewController.h"
#include "editors/ValueEditors.h"
#include "find/FindController.h"
#include "panels/MergePanelController.h"
#include "panels/QRCodePanelController.h"
#include "platform/Dispatch.h"
#include "platform/Localizer.h"
#include "platform/PhotoFitter.h"
#include "platform/UndoManager.h"
#include "platform/UserDefaults.h"
#include "platform/widgets/Alert.h"
#include "ui/contracts/MergeContextDict.h"
#include "ui/widgets/FontService.h"
#include "ui/widgets/ProgressIndicator.h"
#include "ui/widgets/SeparatorBox.h"

#include <QAbstractItemView>
#include <QAction>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHash>
#include <QPushButton>
#include <QSet>
#include <QShowEvent>
#include <QSplitter>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace {

ViewController::ModifierQuery s_modifierQuery;

// One set of value editors for the program: the detail tables find it without a window.
ValueEditors &valueEditors()
{
    static ValueEditors editors;
    return editors;
}

Qt::KeyboardModifiers currentModifiers()
{
    return s_modifierQuery ? s_modifierQuery() : QGuiApplication::queryKeyboardModifiers();
}

constexpr int SidebarMaximumWidth = 250;
// The Name column and one value column: side panes give up width before the grid goes below it.
constexpr int GridMinimumWidth = 360;
constexpr int DetailMinimumWidth = 300;
constexpr int FindBarHideDelay = 400;
// How often a group selection made during a load looks again whether the load is done.
constexpr int LoadingRetryDelay = 50;

} // namespace

ViewController::ViewController(QWidget *parent)
    : ViewController(UserDefaults::standard(), SplitPanes::makeDefault(UserDefaults::standard()), parent)
{
}

ViewController::ViewController(UserDefaults &defaults, SplitPanes panes, QWidget *parent)
    : QWidget(parent), m_defaults(defaults), m_panes(std::move(panes)), m_book(new AddressBook(this))
{
    buildLayout();
    connectAddressBook();
    // The postal-code tables load on the pool while the user looks at the grid.
    AddressViewController::preload();
    MultiValueViewController::setNestedEditorFactory([](const QString &type) -> ValueEditor * {
        return type == QStringLiteral("Address") ? new AddressViewController : nullptr;
    });
    DetailEditorPresenter::setValueEditorFactory(&valueEditors());
}

// The panes go before the widgets that hold their views, and the document before the panes.
ViewController::~ViewController()
{
    // The popover and the torn-off windows tell their delegate as they close.
    m_broadcast->closeAllContactViews();
    m_find.reset();
    m_findHost.reset();
    m_drops.reset();
    m_commands.reset();
    m_broadcast.reset();
    delete m_book;
    m_panes = {};
}

void ViewController::connectAddressBook()
{
    m_broadcast =
        std::make_unique<ChangeBroadcast>(*undoManager(), *contactsViewController(), *contactInfoController(),
                                          [this] { setDocumentEdited(true); });
    m_commands = std::make_unique<GroupContactCommands>(*this);
    m_drops = std::make_unique<ContactDrops>(*this);
    m_findHost = std::make_unique<ViewFindHost>(*this);
    m_find = std::make_unique<FindController>(*m_findHost);
    connect(m_book, &AddressBook::contactDidUpdate, this, &ViewController::contactDidUpdate);
    connect(m_book, &AddressBook::tableChanged, this,
            [this](const ContactRowPtr &contact) { m_broadcast->listDidUpdate(contact); });
    connect(m_book, &AddressBook::contactRowsChanged, this, &ViewController::showContactRowsChange);
    connect(m_book, &AddressBook::groupsChanged, this, &ViewController::showGroups);
    connect(m_book, &AddressBook::groupShown, this, &ViewController::showGroupSelection);
    connect(m_book, &AddressBook::membershipsChanged, this, [this] { m_broadcast->groupsDidChange(); });
    connect(m_book, &AddressBook::editedChanged, this,
            [this](bool edited) { window()->setWindowModified(edited); });
}

void ViewController::showContactRowsChange(const QList<ContactRowPtr> &rows, bool deleted)
{
    ContactsGridInterface *grid = contactsViewController();
    grid->setContactTable(contactTable());
    grid->updateTable();
    grid->selectRowIndexesWithContacts(rows);
    if (!deleted)
        return;
    QSet<QString> uniqueIds;
    for (const ContactRowPtr &row : rows) {
        if (row)
            uniqueIds.insert(row->uniqueId);
    }
    contactInfoController()->contactsDidLeave(uniqueIds);
    m_broadcast->closeViewsOfContacts(uniqueIds);
    // The find cursor keeps its place but no longer names a contact that is gone.
    std::optional<ItemAndRange> cursor = m_find->selectedItemAndRange();
    if (cursor && cursor->contact && uniqueIds.contains(cursor->contact->uniqueId)) {
        cursor->contact.reset();
        m_find->setSelectedItemAndRange(cursor);
    }
}

void ViewController::showGroups()
{
    groupViewController()->setContainerTable(containerTable());
    groupViewController()->updateTable();
}

void ViewController::showGroupSelection(const GroupDictPtr &group)
{
    groupViewController()->setContainerTable(containerTable());
    groupViewController()->setSelectedGroupDict(group);
    groupViewController()->updateTable();
    groupSelectionDidChange(group);
}

void ViewController::buildLayout()
{
    m_redSeparator = new SeparatorBox;
    m_splitView = new QSplitter(Qt::Horizontal);
    m_splitView->setChildrenCollapsible(false);

    QWidget *sidebar = groupViewController()->takeView();
    sidebar->setMaximumWidth(SidebarMaximumWidth);

    // The find bar lies over the grid; the spinner in the middle of it.
    auto *middle = new QWidget;
    auto *middleLayout = new QGridLayout(middle);
    middleLayout->setContentsMargins(0, 0, 0, 0);
    middleLayout->setSpacing(0);
    QWidget *findBar = findBarController()->takeView();
    middleLayout->addWidget(findBar, 0, 0);
    middleLayout->addWidget(contactsViewController()->takeView(), 1, 0);
    m_progressIndicator = new ProgressIndicator;
    m_progressIndicator->hide();
    middleLayout->addWidget(m_progressIndicator, 1, 0, Qt::AlignCenter);
    // In any font and language the find bar's controls fit over the grid.
    const int gridLeast = qMax(GridMinimumWidth, findBar->minimumSizeHint().width());
    if (auto *grid = qobject_cast<QTableView *>(contactsViewController()->tableView()))
        new GridWidthFloor(middle, *contactsViewController(), grid, gridLeast);
    else
        middle->setMinimumWidth(gridLeast);

    QWidget *detail = contactInfoController()->takeView();
    detail->setMinimumWidth(DetailMinimumWidth);

    m_splitView->addWidget(sidebar);
    m_splitView->addWidget(middle);
    m_splitView->addWidget(detail);
    m_splitView->setStretchFactor(0, 0);
    m_splitView->setStretchFactor(1, 1);
    m_splitView->setStretchFactor(2, 0);
    m_splitView->setSizes({200, 400, 300});
    detail->hide();

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    layout->addWidget(m_redSeparator);
    layout->addWidget(m_splitView, 1);
}

WindowController *ViewController::windowController() const
{
    return qobject_cast<WindowController *>(window());
}

// --- life cycle -----------------------------------------------------------------------------

void ViewController::viewDidLoad()
{
    m_newWindow = false;
    offerToRestoreDefaults();
    m_paneWidths = new PaneWidths(m_splitView, m_defaults);
    loadLabelFilter();
    loadViewTypes();
    findBarController()->setDelegate(this);
    findBarController()->setVisible(false, {});
    setEditState(true);
    loadSelectedFont();
}

void ViewController::offerToRestoreDefaults()
{
    const Qt::KeyboardModifiers all = Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier;
    if ((currentModifiers() & all) != all)
        return;
    Alert alert;
    alert.setInformativeText(L(QStringLiteral("Would you like to restore default preferences?")));
    alert.addButton(L(QStringLiteral("OK")));
    alert.addButton(L(QStringLiteral("Cancel")), Alert::ButtonRole::Cancel);
    if (alert.runModal() != Alert::FirstButton)
        return;
    m_defaults.removePersistentDomain();
    m_newWindow = true;
}

void ViewController::loadLabelFilter()
{
    const QVariant stored = m_defaults.objectForKey(DefaultsKey::SelectedLabels);
    if (stored.typeId() == QMetaType::QVariantList || stored.typeId() == QMetaType::QStringList) {
        m_selectedLabels = stored.toStringList();
        return;
    }
    m_selectedLabels = ViewTypes::allLabels();
    m_defaults.setObject(m_selectedLabels, DefaultsKey::SelectedLabels);
}

void ViewController::loadViewTypes()
{
    m_viewTypeDict = m_defaults.dictionaryForKey(DefaultsKey::ViewTypeDict);
    if (m_viewTypeDict.isEmpty()) {
        m_viewTypeDict = aViewTypeDict();
        m_defaults.setObject(m_viewTypeDict, DefaultsKey::ViewTypeDict);
    }
    m_selectedViewType = m_defaults.stringForKey(DefaultsKey::SelectedViewType);
    if (m_selectedViewType.isNull()) {
        m_selectedViewType = QStringLiteral("Email");
        m_defaults.setObject(m_selectedViewType, DefaultsKey::SelectedViewType);
    }
}

void ViewController::loadSelectedFont()
{
    const QString name = m_defaults.stringForKey(fontKey(DefaultsKey::FontName));
    std::optional<double> size;
    if (m_defaults.objectForKey(fontKey(DefaultsKey::FontSize)).isValid())
        size = m_defaults.doubleForKey(fontKey(DefaultsKey::FontSize));
    m_selectedFont = FontService::fontFromDefaults(name, size);
}

QString ViewController::fontKey(const QString &key) const
{
    return DefaultsKey::documentKey(key, m_documentName);
}

void ViewController::viewWillAppear()
{
    FontManager &fontManager = FontManager::shared();
    if (m_selectedFont)
        fontManager.setSelectedFont(*m_selectedFont, false);
    changeFont(&fontManager);
    fontManager.setTarget(this, [this](FontManager *sender) { changeFont(sender); });

    if (!containerTable().isEmpty()) {
        groupViewController()->setContainerTable(containerTable());
        groupViewController()->setSelectedGroupDict(selectedGroupDict());
    }
    groupViewController()->setEditState(true);
    groupViewController()->setDelegate(this);
    contactsViewController()->setSelectedLabels(m_selectedLabels);
    contactsViewController()->setDelegate(this);
    contactsViewController()->setEditDelegate(this);
    contactInfoController()->setDelegate(this);
    contactInfoController()->setSelectedLabels(m_selectedLabels);

    WindowController *windowController = this->windowController();
    if (contactTable()) {
        contactsViewController()->setContactTable(contactTable());
        if (!contactTable()->isEmpty())
            contactInfoController()->setContact(contactTable()->first());
        if (windowController)
            windowController->showGroupView(false);
        groupViewController()->updateTable();
        contactsViewController()->tableView()->setFocus();
    } else if (windowController) {
        windowController->showGroupView(false);
    }
    if (windowController)
        windowController->setFrameAutosaveName(m_documentName.isNull() ? QStringLiteral("AddressBook")
                                                                       : m_documentName);

    if (!m_newWindow) {
        findBarController()->setVisible(false, {});
        m_contactInfoVisible = false;
        setEditState(m_defaults.boolForKey(DefaultsKey::LastEditState));
    } else if (windowController) {
        windowController->placeAtFirstRunFrame();
    }
    Dispatch::runAfter(FindBarHideDelay, this, [this] { showFindBar(false); });
}

void ViewController::viewWillDisappear()
{
    if (!m_selectedFont) {
        m_defaults.removeObjectForKey(fontKey(DefaultsKey::FontName));
        m_defaults.removeObjectForKey(fontKey(DefaultsKey::FontSize));
        return;
    }
    m_defaults.setObject(FontService::fontName(*m_selectedFont), fontKey(DefaultsKey::FontName));
    m_defaults.setDouble(m_selectedFont->pointSizeF(), fontKey(DefaultsKey::FontSize));
}

void ViewController::setRepresentedObject(const QVariant &object)
{
    m_representedObject = object;
    // A new tree is handed over: views of the old one's contacts would edit rows no longer shown.
    m_broadcast->closeAllContactViews();
    pushTablesToPanes();
    showNewTreeInDetailPane();
    WindowController *windowController = this->windowController();
    const QVariant showGroupView = m_defaults.objectForKey(DefaultsKey::ShowGroupView);
    if (showGroupView.isValid()) {
        if (windowController)
            windowController->showGroupView(m_defaults.boolForKey(DefaultsKey::ShowGroupView));
    } else {
        if (windowController)
            windowController->placeAtFirstRunFrame();
        m_defaults.setBool(true, DefaultsKey::ShowGroupView);
        if (windowController)
            windowController->showGroupView(true);
    }
    contactsViewController()->tableView()->setFocus();
}

// The grid's rows are rebuilt here: a new table only shows after an update.
void ViewController::pushTablesToPanes()
{
    groupViewController()->setContainerTable(containerTable());
    groupViewController()->setSelectedGroupDict(selectedGroupDict());
    groupViewController()->updateTable();
    contactsViewController()->setContactTable(contactTable());
    contactsViewController()->updateTable();
}

// The grid hands its selected row of the new tree over itself (the row's record changed). Without
// one the pane takes the new row of the contact it shows, or shows nothing when the contact is
// gone: a record of the old tree would take edits that no Save writes.
void ViewController::showNewTreeInDetailPane()
{
    const ContactRowPtr shown = contactInfoController()->contact();
    if (!shown || !contactsViewController()->selectedSubContacts().isEmpty())
        return;
    ContactRowPtr found;
    if (contactTable()) {
        const auto held =
            std::find_if(contactTable()->cbegin(), contactTable()->cend(),
                         [&](const auto &row) { return row->uniqueId == shown->uniqueId && !row->deleted; });
        if (held != contactTable()->cend())
            found = *held;
    }
    if (!found) {
        showNoContactInDetailPane();
        return;
    }
    auto row = std::make_shared<SubContactRow>();
    row->person = found->person;
    row->uniqueId = found->uniqueId;
    rowSelectionDidChange(row);
}

void ViewController::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        viewWillAppear();
}

void ViewController::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    if (!event->spontaneous())
        viewWillDisappear();
}

// --- panes ----------------------------------------------------------------------------------

bool ViewController::isSidebarCollapsed() const
{
    return groupViewController()->view()->isHidden();
}

void ViewController::setSidebarCollapsed(bool collapsed)
{
    groupViewController()->view()->setHidden(collapsed);
}

bool ViewController::isDetailCollapsed() const
{
    return contactInfoController()->view()->isHidden();
}

void ViewController::setDetailCollapsed(bool collapsed)
{
    if (!collapsed && m_paneWidths)
        m_paneWidths->openDetail(DetailFont::fontFromDefaults(m_defaults));
    else
        contactInfoController()->view()->setHidden(collapsed);
}

// --- edit state -----------------------------------------------------------------------------

void ViewController::setEditState(bool editState)
{
    m_editState = editState;
    m_redSeparator->showEditing(editState);
    contactsViewController()->setEditState(editState);
    contactInfoController()->setEditState(editState);
    groupViewController()->setEditState(editState);
    findBarController()->setEditState(editState);
    if (WindowController *windowController = this->windowController())
        windowController->editButton()->setText(editState ? L(QStringLiteral("Lock"))
                                                          : L(QStringLiteral("Edit")));
    contactsViewController()->updateTable();
    if (m_contactInfoVisible)
        contactInfoController()->updateTable();
}

void ViewController::enableEditButton(bool enabled)
{
    if (WindowController *windowController = this->windowController())
        windowController->editButton()->setEnabled(enabled);
}

// --- fonts ----------------------------------------------------------------------------------

void ViewController::applyFont(const std::optional<QFont> &font)
{
    if (!font)
        return;
    m_selectedFont = font;
    groupViewController()->setSelectedFont(*font);
    if (m_mergePanelController)
        m_mergePanelController->setSelectedFont(*font);
    contactsViewController()->setSelectedFont(*font);
    contactInfoController()->setSelectedFont(*font);
    m_defaults.setObject(FontService::fontName(*font), DefaultsKey::DefaultFontName);
    m_defaults.setDouble(font->pointSizeF(), DefaultsKey::DefaultFontSizeKey);
}

void ViewController::changeFont(FontManager *sender)
{
    if (m_selectedFont)
        applyFont(sender->convertFont(*m_selectedFont));
}

void ViewController::revertToDefaultFont()
{
    const QFont font = FontService::systemFont(DefaultsKey::DefaultFontSize);
    if (m_selectedFont != font)
        applyFont(font);
}

// --- menus ----------------------------------------------------------------------------------

bool ViewController::validateMenuItem(QAction *item)
{
    switch (menuCommand(item)) {
    case MenuCommand::Undo:
        return undoManager()->canUndo();
    case MenuCommand::Redo:
        return undoManager()->canRedo();
    case MenuCommand::AddGroup:
        return !isSidebarCollapsed();
    case MenuCommand::DeleteGroup:
        return !isSidebarCollapsed() && m_editState && selectedGroupDict() && !selectedGroupDict()->top;
    case MenuCommand::ShowQRCode:
        return !contactsViewController()->selectedSubContacts().isEmpty();
    case MenuCommand::MergeContacts:
        return contactsViewController()->canMergeContacts();
    case MenuCommand::NormalizePhoneNumber:
        return contactsViewController()->canNormalizePhoneNumber();
    case MenuCommand::ToggleShowCompany:
        item->setCheckable(true);
        item->setChecked(contactsViewController()->showCompanyInNameCell());
        return true;
    case MenuCommand::DeleteContacts:
    case MenuCommand::DuplicateContacts:
        return m_editState && !contactsViewController()->selectedSubContacts().isEmpty();
    default:
        return true;
    }
}

void ViewController::undo()
{
    m_book->undo();
}

void ViewController::redo()
{
    m_book->redo();
}

void ViewController::showFindBar(bool show)
{
    m_find->showFindBar(show);
}

QString ViewController::findString() const
{
    return m_find->findString();
}

std::optional<ItemAndRange> ViewController::selectedItemAndRange() const
{
    return m_find->selectedItemAndRange();
}

void ViewController::setSelectedItemAndRange(const std::optional<ItemAndRange> &itemAndRange)
{
    m_find->setSelectedItemAndRange(itemAndRange);
}

void ViewController::performFindBarAction(MenuCommand command)
{
    static const QHash<MenuCommand, FindController::MenuCommand> findCommands = {
        {MenuCommand::Find, FindController::MenuCommand::Find},
        {MenuCommand::FindAndReplace, FindController::MenuCommand::FindAndReplace},
        {MenuCommand::FindNext, FindController::MenuCommand::FindNext},
        {MenuCommand::FindPrevious, FindController::MenuCommand::FindPrevious},
        {MenuCommand::UseSelectionForFind, FindController::MenuCommand::UseSelectionForFind},
    };
    if (const auto found = findCommands.constFind(command); found != findCommands.cend())
        m_find->performFindBarAction(*found);
}

void ViewController::saveColumnWithDictionary()
{
    if (contactsViewController())
        contactsViewController()->saveColumnWithDictionary();
}

QVariantMap ViewController::aViewTypeDict()
{
    return ViewTypes::defaultViewTypeDict();
}

QVariantMap ViewController::aSelectedLabels()
{
    return ViewTypes::defaultSelectedLabels();
}

// --- row selection and the change broadcast ---------------------------------------------------

void ViewController::rowSelectionDidChange(const SubContactRowPtr &row)
{
    if (!row)
        return;
    row->groupNames = groupNamesOfContact(row);
    contactInfoController()->setContact(row);
    // With several rows selected the cursor starts at the first of them, not at the one reported.
    const QList<SubContactRowPtr> selected = contactsViewController()->selectedSubContacts();
    m_find->rowSelectionDidChange(selected.isEmpty() ? row : selected.first());
}

// The contact of the cursor stays; only the place within it moves.
void ViewController::rowSelectionDidChange(QObject *, const DetailRow &detailRow)
{
    m_find->rowSelectionDidChange(detailRow);
}

void ViewController::contactDidUpdate(const ContactRowPtr &contact, QObject *sender)
{
    m_broadcast->contactDidUpdate(contact, sender);
}

void ViewController::detachedWindowDidClose(const ClosedWindow &closed)
{
    contactsViewController()->detachedWindowDidClose(closed);
}

void ViewController::sortDescriptorsDidChange(const QList<SortDescriptor> &descriptors)
{
    m_book->sorting().sortDescriptorsDidChange(descriptors);
}

void ViewController::sortContactTable(const QList<SortDescriptor> &descriptors)
{
    m_book->sorting().sortContactTable(descriptors);
}

QRCodePanelController *ViewController::qrCodePanelController() const
{
    return m_qrCodePanelController;
}

void ViewController::showQRCodeForContact(const SubContactRowPtr &row)
{
    delete m_qrCodePanelController;
    m_qrCodePanelController = new QRCodePanelController(window());
    m_qrCodePanelController->setContact(row);
    m_qrCodePanelController->beginSheetModalForWindow(window());
}

void ViewController::beginMergeSheet(const QList<ContactRowPtr> &contacts)
{
    auto context = std::make_shared<MergeContextDict>();
    context->contacts = contacts;
    delete m_mergePanelController;
    m_mergePanelController = new MergePanelController(window());
    m_mergePanelController->setCustomItems(customItems());
    m_mergePanelController->setValueEditorFactory(&valueEditors());
    if (!m_mergePanelController->setContextInfo(context, m_editState))
        return;
    if (m_selectedFont)
        m_mergePanelController->setSelectedFont(*m_selectedFont);
    m_mergePanelController->beginSheetModalForWindow(window(), [this, context](int code) {
        if (code != 1 || !context->newContacts)
            return;
        // The funnel marks the window edited for what it writes, and only then.
        undoReplacePersonByContacts(*context->newContacts, context->contacts);
        contactsViewController()->updateTable();
    });
}

void ViewController::addContactByVCardString(const QString &vCardString)
{
    m_drops->addContactByVCardString(vCardString);
}

void ViewController::addContactRows(const QList<ContactRowPtr> &rows)
{
    m_drops->addContactRows(rows);
}

ContactInfoPopoverInterface *ViewController::makeContactInfoPopover()
{
    return new ContactInfoPopover(m_defaults);
}

DetachedWindowController *ViewController::makeDetachedWindow()
{
    return new ContactInfoWindowController(m_defaults);
}

ValueEditorFactory *ViewController::valueEditorFactory()
{
    return &valueEditors();
}

// --- group selection --------------------------------------------------------------------------

void ViewController::showNoContactInDetailPane()
{
    contactInfoController()->clearContact();
    if (std::optional<ItemAndRange> cursor = m_find->selectedItemAndRange()) {
        cursor->contact.reset();
        m_find->setSelectedItemAndRange(cursor);
    }
}

void ViewController::groupSelectionDidChange(const GroupDictPtr &group)
{
    if (!group)
        return;
    if (isAddressBookLoading()) {
        // Asked again once the load is done, unless the load replaced the tree holding the group.
        Dispatch::runAfter(LoadingRetryDelay, this, [this, group] {
            const ContainerDictPtr container = containerOfGroup(*group);
            if (container && container->groups.contains(group))
                groupSelectionDidChange(group);
        });
        return;
    }
    m_book->selectGroup(group);
    contactsViewController()->setContactTable(contactTable());
    contactsViewController()->updateTable();
    // A group that shows no selected row (an empty one) must not leave the last contact editable.
    if (contactsViewController()->selectedSubContacts().isEmpty())
        showNoContactInDetailPane();
    m_broadcast->closeAllDetachedWindows();
    m_defaults.setObject(group->containerIdentifier, DefaultsKey::LastContainerIdentifier);
}

void ViewController::addContactByStringIndexes(const QString &stringIndexes, const GroupDictPtr &group)
{
    m_drops->addContactByStringIndexes(stringIndexes, group);
}

void ViewController::groupNameWillChange(const QString &name)
{
    if (!name.isEmpty())
        undoChangeGroupName(name, selectedGroupDict());
}

// --- the edit funnel ---------------------------------------------------------------------------

bool ViewController::undoReplaceValue(const QVariant &value, const QString &identifier,
                                      const ContactRowPtr &contact, QObject *sender)
{
    return m_book->funnel().undoReplaceValue(value, identifier, contact, sender);
}

bool ViewController::undoReplaceLabeledValue(const QVariant &value, const QString &identifier,
                                             const ContactRowPtr &contact, QObject *sender)
{
    return m_book->funnel().undoReplaceLabeledValue(value, identifier, contact, sender);
}

bool ViewController::undoAddLabeledValue(const QVariantMap &value, const QString &identifier,
                                         const ContactRowPtr &contact, QObject *sender)
{
    return m_book->funnel().undoAddLabeledValue(value, identifier, contact, sender);
}

bool ViewController::undoDeleteLabeledValueForIdentifier(const QString &identifier, qint64 labelIndex,
                                                         const ContactRowPtr &contact, QObject *sender)
{
    return m_book->funnel().undoDeleteLabeledValueForIdentifier(identifier, labelIndex, contact, sender);
}

bool ViewController::undoReplaceNameValue(const QVariantMap &name, const ContactRowPtr &contact)
{
    return m_book->funnel().undoReplaceNameValue(name, contact);
}

bool ViewController::undoReplacePhoneticNameValue(const QVariant &phoneticName, const ContactRowPtr &contact)
{
    return m_book->funnel().undoReplacePhoneticNameValue(phoneticName, contact);
}

bool ViewController::undoReplaceBirthday(const QVariant &birthday, const ContactRowPtr &contact)
{
    return m_book->funnel().undoReplaceBirthday(birthday, contact);
}

bool ViewController::undoReplacePhoto(const QVariant &image, const ContactRowPtr &contact)
{
    return m_book->funnel().undoReplacePhoto(image, contact);
}

void ViewController::undoReplacePersonByContacts(const QList<ContactRowPtr> &newContacts,
                                                 const QList<ContactRowPtr> &contacts)
{
    m_book->funnel().undoReplacePersonByContacts(newContacts, contacts);
}

void ViewController::undoAddContacts(const QList<ContactRowPtr> &rows, const GroupDictPtr &group)
{
    m_book->groupEdits().undoAddContacts(rows, group);
}

void ViewController::undoDeleteContacts(const QList<ContactRowPtr> &rows, const GroupDictPtr &group,
                                        bool doUndo)
{
    m_book->groupEdits().undoDeleteContacts(rows, group, doUndo);
}

void ViewController::undoAddGroup(const GroupDictPtr &group, const ContainerDictPtr &container)
{
    m_book->groupEdits().undoAddGroup(group, container);
}

void ViewController::undoDeleteGroup(const GroupDictPtr &group, const ContainerDictPtr &container)
{
    m_book->groupEdits().undoDeleteGroup(group, container);
}

bool ViewController::undoChangeGroupName(const QString &name, const GroupDictPtr &group)
{
    return m_book->groupEdits().undoChangeGroupName(name, group);
}

void ViewController::addGroup(QObject *)
{
    m_commands->addGroup();
}

void ViewController::deleteGroup(QObject *)
{
    m_commands->deleteGroup();
}

void ViewController::addContact(QObject *)
{
    m_commands->addContact();
}

void ViewController::deleteContacts(QObject *)
{
    m_commands->deleteContacts();
}

void ViewController::duplicateContacts(QObject *)
{
    m_commands->duplicateContacts();
}

bool ViewController::imageResize(const QImage &source, QImage &target, const QSize &newSize)
{
    return PhotoFitter::imageResize(source, target, newSize);
}

// --- find -------------------------------------------------------------------------------------

void ViewController::findStringDidChange(const QString &findString)
{
    m_find->findStringDidChange(findString);
}

void ViewController::findBarButtonDidPress(FindBarCommand command)
{
    m_find->findBarButtonDidPress(command);
}

void ViewController::setModifierQuery(ModifierQuery query)
{
    s_modifierQuery = std::move(query);
}

void ViewController::showFindPanel()
{
    m_find->showFindPanel(
        editState(), [] { return std::make_unique<DateEditorAdapter>(); }, window());
}
