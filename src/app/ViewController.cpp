#include "app/ViewController.h"

#include "app/DefaultsKey.h"
#include "app/FontManager.h"
#include "app/FontService.h"
#include "app/MenuCommand.h"
#include "app/ProgressIndicator.h"
#include "app/SeparatorBox.h"
#include "app/ViewTypes.h"
#include "app/WindowController.h"
#include "platform/Dispatch.h"
#include "platform/Localizer.h"
#include "platform/UndoManager.h"
#include "platform/UserDefaults.h"
#include "platform/widgets/Alert.h"
#include "platform/widgets/FindPasteboard.h"

#include <QAbstractItemView>
#include <QAction>
#include <QGridLayout>
#include <QGuiApplication>
#include <QPushButton>
#include <QShowEvent>
#include <QSplitter>
#include <QVBoxLayout>

namespace {

ViewController::ModifierQuery s_modifierQuery;

Qt::KeyboardModifiers currentModifiers()
{
    return s_modifierQuery ? s_modifierQuery() : QGuiApplication::queryKeyboardModifiers();
}

constexpr int SidebarMaximumWidth = 250;
constexpr int GridMinimumWidth = 200;
constexpr int DetailMinimumWidth = 300;
constexpr int FindBarHideDelay = 400;

} // namespace

ViewController::ViewController(QWidget *parent)
    : ViewController(UserDefaults::standard(), SplitPanes::makeDefault(UserDefaults::standard()), parent)
{
}

ViewController::ViewController(UserDefaults &defaults, SplitPanes panes, QWidget *parent)
    : QWidget(parent), m_defaults(defaults), m_panes(std::move(panes)), m_undoManager(new UndoManager(this))
{
    buildLayout();
}

// The panes go before the widgets that hold their views.
ViewController::~ViewController()
{
    m_panes = {};
}

void ViewController::buildLayout()
{
    m_redSeparator = new SeparatorBox;
    m_splitView = new QSplitter(Qt::Horizontal);
    m_splitView->setChildrenCollapsible(false);

    QWidget *sidebar = groupViewController()->view();
    sidebar->setMaximumWidth(SidebarMaximumWidth);

    // The find bar lies over the grid; the spinner in the middle of it.
    auto *middle = new QWidget;
    auto *middleLayout = new QGridLayout(middle);
    middleLayout->setContentsMargins(0, 0, 0, 0);
    middleLayout->setSpacing(0);
    middleLayout->addWidget(findBarController()->view(), 0, 0);
    middleLayout->addWidget(contactsViewController()->view(), 1, 0);
    m_progressIndicator = new ProgressIndicator;
    m_progressIndicator->hide();
    middleLayout->addWidget(m_progressIndicator, 1, 0, Qt::AlignCenter);
    middle->setMinimumWidth(GridMinimumWidth);

    QWidget *detail = contactInfoController()->view();
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

    if (!m_containerTable.isEmpty()) {
        groupViewController()->setContainerTable(m_containerTable);
        groupViewController()->setSelectedGroupDict(m_selectedGroupDict);
    }
    groupViewController()->setEditState(true);
    groupViewController()->setDelegate(this);
    contactsViewController()->setSelectedLabels(m_selectedLabels);
    contactsViewController()->setDelegate(this);
    contactInfoController()->setDelegate(this);
    contactInfoController()->setSelectedLabels(m_selectedLabels);

    WindowController *windowController = this->windowController();
    if (m_contactTable) {
        contactsViewController()->setContactTable(m_contactTable);
        if (!m_contactTable->isEmpty())
            contactInfoController()->setContact(m_contactTable->first());
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
    pushTablesToPanes();
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
    groupViewController()->setContainerTable(m_containerTable);
    groupViewController()->setSelectedGroupDict(m_selectedGroupDict);
    groupViewController()->updateTable();
    contactsViewController()->setContactTable(m_contactTable);
    contactsViewController()->updateTable();
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
    contactInfoController()->view()->setHidden(collapsed);
}

// --- edit state -----------------------------------------------------------------------------

void ViewController::setEditState(bool editState)
{
    m_editState = editState;
    if (editState) {
        m_redSeparator->setBorderWidth(2.0);
        m_redSeparator->setBorderColor(Qt::red);
        m_redSeparator->setFillColor(Qt::red);
    } else {
        // The width stays as it is: only the colour tells the states apart.
        m_redSeparator->setBorderColor(Qt::gray);
        m_redSeparator->setFillColor(Qt::gray);
    }
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

bool ViewController::isDocumentEdited() const
{
    return window()->isWindowModified();
}

void ViewController::setDocumentEdited(bool edited)
{
    window()->setWindowModified(edited);
}

// --- fonts ----------------------------------------------------------------------------------

void ViewController::applyFont(const std::optional<QFont> &font)
{
    if (!font)
        return;
    m_selectedFont = font;
    groupViewController()->setSelectedFont(*font);
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
        return m_undoManager->canUndo();
    case MenuCommand::Redo:
        return m_undoManager->canRedo();
    case MenuCommand::AddGroup:
        return !isSidebarCollapsed();
    case MenuCommand::DeleteGroup:
        return !isSidebarCollapsed() && m_editState && m_selectedGroupDict && !m_selectedGroupDict->top;
    case MenuCommand::FindBarButtonClicked:
        item->setText(findBarController()->isVisible() ? L(QStringLiteral("Hide"))
                                                       : L(QStringLiteral("Show")));
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
    m_undoManager->undo();
    setDocumentEdited(m_undoManager->canUndo());
}

void ViewController::redo()
{
    m_undoManager->redo();
    setDocumentEdited(m_undoManager->canUndo());
}

void ViewController::showFindBar(bool show)
{
    const QString shared = FindPasteboard::string();
    if (show && !shared.isNull()) {
        m_findString = shared;
        contactInfoController()->setFindString(shared);
    }
    findBarController()->setVisible(show, [this] {
        if (WindowController *windowController = this->windowController())
            windowController->findBarButton()->setEnabled(true);
    });
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

// --- delegate calls -------------------------------------------------------------------------
// These are the seams where row selection, group selection, the change broadcast, adding
// contacts and finding attach; until then the panes' reports change nothing.

void ViewController::rowSelectionDidChange(const SubContactRowPtr &) {}

void ViewController::sortDescriptorsDidChange(const QList<SortDescriptor> &) {}

void ViewController::addContactByVCardString(const QString &) {}

void ViewController::groupSelectionDidChange(const GroupDictPtr &) {}

void ViewController::addContactByStringIndexes(const QString &, const GroupDictPtr &) {}

void ViewController::groupNameWillChange(const QString &) {}

void ViewController::contactDidUpdate(const ContactRowPtr &, QObject *) {}

void ViewController::findStringDidChange(const QString &) {}

void ViewController::findBarButtonDidPress(const QString &) {}

void ViewController::setModifierQuery(ModifierQuery query)
{
    s_modifierQuery = std::move(query);
}
