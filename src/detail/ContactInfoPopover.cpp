#include "detail/ContactInfoPopover.h"

#include "addressbook/DefaultsKey.h"
#include "detail/DetailFont.h"
#include "detail/DetailTableController.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "platform/Localizer.h"
#include "platform/UndoManager.h"
#include "platform/UserDefaults.h"
#include "platform/widgets/Popover.h"
#include "ui/contracts/ContactInfoPopoverDelegate.h"
#include "ui/widgets/SeparatorBox.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

// Where Qt puts a window's edited mark in its title.
const QString WindowTitleMark = QStringLiteral("[*]");

} // namespace

ContactInfoPopover::ContactInfoPopover(UserDefaults &defaults, QWidget *parent)
    : QWidget(parent), m_defaults(defaults), m_detail(new DetailTableController(*this, defaults, this)),
      m_contactNameField(new QLineEdit), m_editButton(new QPushButton), m_redSeparator(new SeparatorBox),
      m_okButton(new QPushButton(L(QStringLiteral("OK"))))
{
    buildLayout();
    m_detail->setIconRowCount(savedIconRowCount());
    // Until a presenter sets its own, a popover edits with the detail font.
    m_detail->setEditState(true);
    m_detail->setSelectedFont(DetailFont::fontFromDefaults(defaults));
}

void ContactInfoPopover::buildLayout()
{
    m_contactNameField->setReadOnly(true);
    m_contactNameField->setFrame(false);
    m_contactNameField->setFocusPolicy(Qt::NoFocus);
    // A title, not a field to type in.
    QPalette palette = m_contactNameField->palette();
    palette.setColor(QPalette::Base, palette.color(QPalette::Window));
    m_contactNameField->setPalette(palette);
    m_editButton->setCheckable(true);
    m_editButton->setAutoDefault(false);
    m_okButton->setAutoDefault(false);
    connect(m_editButton, &QPushButton::toggled, this, &ContactInfoPopover::editButtonToggled);
    connect(m_okButton, &QPushButton::clicked, this, &ContactInfoPopover::okButtonPressed);

    auto *top = new QHBoxLayout;
    top->addWidget(m_contactNameField, 1);
    top->addWidget(m_editButton);
    auto *bottom = new QHBoxLayout;
    bottom->addStretch(1);
    bottom->addWidget(m_okButton);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(8, 8, 8, 8);
    layout->addLayout(top);
    m_redSeparator->setFixedHeight(3);
    layout->addWidget(m_redSeparator);
    QTableView *table = m_detail->takeTableView();
    table->setParent(this);
    table->installEventFilter(this);
    layout->addWidget(table, 1);
    layout->addLayout(bottom);
}

int ContactInfoPopover::savedIconRowCount() const
{
    const qint64 saved = m_defaults.integerForKey(DefaultsKey::IconRowCount);
    return saved > 0 ? int(saved) : DefaultsKey::DefaultIconRowCount;
}

// --- settings -------------------------------------------------------------------------------

ContactRowPtr ContactInfoPopover::contact() const
{
    return m_detail->contact();
}

void ContactInfoPopover::setContact(const ContactRowPtr &contact)
{
    if (!contact)
        return;
    m_detail->setContact(contact);
    showContactName();
}

void ContactInfoPopover::updateTable()
{
    m_detail->updateTable();
    showContactName();
}

// A torn-off window is titled with the name, which may have changed in it.
void ContactInfoPopover::showContactName()
{
    const ContactRowPtr shown = m_detail->contact();
    if (!shown || !shown->person)
        return;
    const QString name = shown->person->compositeName();
    m_contactNameField->setText(name);
    // Over the grid, the parent window is the main one, titled with the program's name.
    if (!m_parentWindow || window() != m_parentWindow)
        return;
    // The record stands "No Name" in for an empty name.
    const bool nameless = name.isEmpty() || name == PersonKey::NoName;
    const QString mark =
        m_parentWindow->windowTitle().contains(WindowTitleMark) ? WindowTitleMark : QString();
    m_parentWindow->setWindowTitle((nameless ? L(QStringLiteral("No name")) : name) + mark);
}

void ContactInfoPopover::groupsDidChange()
{
    m_detail->groupsDidChange();
}

void ContactInfoPopover::setCustomItems(const QVariantList &customItems)
{
    m_detail->setCustomItems(customItems);
}

QVariantList ContactInfoPopover::customItems() const
{
    return m_detail->customItems();
}

void ContactInfoPopover::setSelectedLabels(const QStringList &labels)
{
    m_detail->setSelectedLabels(labels);
}

void ContactInfoPopover::setSelectedFont(const QFont &font)
{
    m_detail->setSelectedFont(font);
}

void ContactInfoPopover::setEditState(bool editState)
{
    m_detail->setEditState(editState);
    // The button applies it, and reloads, when the view appears.
    const QSignalBlocker blocker(m_editButton);
    m_editButton->setChecked(editState);
}

bool ContactInfoPopover::editState() const
{
    return m_detail->editState();
}

void ContactInfoPopover::setParentPopover(Popover *popover)
{
    m_parentPopover = popover;
}

void ContactInfoPopover::editForIdentifier(const QString &identifier)
{
    m_detail->editForIdentifier(identifier);
}

// --- edits ----------------------------------------------------------------------------------

DetailEditDelegate *ContactInfoPopover::editDelegate() const
{
    return m_delegate;
}

void ContactInfoPopover::sendContactDidUpdate()
{
    setParentWindowEdited(true);
    if (m_delegate)
        m_delegate->contactDidUpdate(m_detail->contact(), this);
}

void ContactInfoPopover::undo()
{
    if (!m_undoManager)
        return;
    m_undoManager->undo();
    setParentWindowEdited(m_undoManager->canUndo());
}

void ContactInfoPopover::redo()
{
    if (!m_undoManager)
        return;
    m_undoManager->redo();
    setParentWindowEdited(m_undoManager->canUndo());
}

// Qt shows the mark only in a title that holds its place, and a torn-off window is titled with
// the contact's name alone.
void ContactInfoPopover::setParentWindowEdited(bool edited)
{
    if (!m_parentWindow)
        return;
    const QString title = m_parentWindow->windowTitle();
    if (!title.contains(WindowTitleMark))
        m_parentWindow->setWindowTitle(title + WindowTitleMark);
    m_parentWindow->setWindowModified(edited);
}

// Undo and redo act on the main window's history wherever the focus is in the popover. The keys are
// claimed before shortcuts are looked up: the main window's Edit menu has the same ones, and of two
// shortcuts of one key Qt triggers neither. A text being edited in place keeps its own undo.
bool ContactInfoPopover::event(QEvent *event)
{
    if (event->type() == QEvent::ShortcutOverride && isHistoryKey(*static_cast<QKeyEvent *>(event))) {
        event->accept();
        return true;
    }
    return QWidget::event(event);
}

bool ContactInfoPopover::isHistoryKey(const QKeyEvent &key)
{
    return key.matches(QKeySequence::Undo) || key.matches(QKeySequence::Redo);
}

void ContactInfoPopover::keyPressEvent(QKeyEvent *event)
{
    if (event->matches(QKeySequence::Undo))
        undo();
    else if (event->matches(QKeySequence::Redo))
        redo();
    else
        QWidget::keyPressEvent(event);
}

bool ContactInfoPopover::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_detail->tableView() && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if ((key->key() == Qt::Key_Delete || key->key() == Qt::Key_Backspace) &&
            !(key->modifiers() & ~Qt::KeypadModifier)) {
            deleteSelectedValue();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void ContactInfoPopover::deleteSelectedValue()
{
    const QList<int> rows = m_detail->selectedRows();
    if (!editState() || rows.isEmpty() || !m_delegate || !m_detail->contact())
        return;
    const DetailRowTable &table = m_detail->table();
    if (rows.first() < table.size())
        deleteRowValue(*table.at(rows.first()));
}

void ContactInfoPopover::deleteRowValue(const DetailRow &row)
{
    const ContactRowPtr contact = m_detail->contact();
    QNPerson *person = contact->person.get();
    if (!person)
        return;
    const QString &type = row.type;
    if (type == PersonIdentifier::Name) {
        QVariantMap name = person->nameValue();
        name.insert(row.label.value_or(QString()), QString());
        m_delegate->undoReplaceNameValue(name, contact);
    } else if (type == PersonIdentifier::PhoneticName) {
        QVariantMap phonetic = person->phoneticNameValue().value_or(QVariantMap());
        phonetic.insert(row.label.value_or(QString()), QString());
        m_delegate->undoReplacePhoneticNameValue(phonetic, contact);
    } else if (type == PersonIdentifier::Photo) {
        m_delegate->undoReplacePhoto(QVariant(), contact);
    } else if (type == PersonIdentifier::Birthday) {
        m_delegate->undoReplaceBirthday(QVariant(), contact);
    } else if (type == PersonIdentifier::Groups || type == PersonIdentifier::NameOrdering) {
        return;
    } else if (const QString valueType = m_detail->valueTypeForRow(row);
               valueType == PersonValueType::Labeled) {
        if (row.labelIndex && person->labeledValueForIdentifierAtLabelIndex(type, *row.labelIndex))
            m_delegate->undoDeleteLabeledValueForIdentifier(type, *row.labelIndex, contact, this);
    } else if (valueType == PersonValueType::String) {
        if (m_delegate->undoReplaceValue(QVariant(), type, contact, this))
            m_detail->reloadDataKeepingSelection();
    }
}

// --- buttons and life -----------------------------------------------------------------------

void ContactInfoPopover::editButtonToggled(bool on)
{
    m_detail->setEditState(on);
    m_editButton->setText(on ? L(QStringLiteral("Lock")) : L(QStringLiteral("Edit")));
    m_redSeparator->showEditing(on);
    m_detail->reloadDataKeepingSelection();
}

void ContactInfoPopover::okButtonPressed()
{
    if (!m_delegate)
        return;
    reportClose(true);
    closeHost();
}

void ContactInfoPopover::closeHost()
{
    if (m_parentPopover)
        m_parentPopover->close();
    else if (m_parentWindow)
        m_parentWindow->close();
}

// The closing is reported before the contact goes, since the report names it.
bool ContactInfoPopover::contactsDidLeave(const QSet<QString> &uniqueIds)
{
    if (!m_detail->showsAnyOf(uniqueIds))
        return false;
    reportClose(true);
    m_detail->dropContact();
    closeHost();
    return true;
}

void ContactInfoPopover::reportClose(bool withWindow)
{
    const ContactRowPtr shown = m_detail->contact();
    if (!m_delegate || !shown)
        return;
    m_delegate->detachedWindowDidClose({shown->uniqueId, withWindow ? m_parentWindow.data() : nullptr});
}

void ContactInfoPopover::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!event->spontaneous())
        viewWillAppear();
}

void ContactInfoPopover::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    if (!event->spontaneous())
        viewWillDisappear();
}

void ContactInfoPopover::viewWillAppear()
{
    m_detail->setIconRowCount(savedIconRowCount());
    showContactName();
    const QSignalBlocker blocker(m_editButton);
    m_editButton->setChecked(m_detail->editState());
    editButtonToggled(m_detail->editState());
}

// A torn-off window is told apart by its own window; the popover's window is the main one, which
// no entry of the grid holds.
void ContactInfoPopover::viewWillDisappear()
{
    reportClose(true);
    m_defaults.setInteger(m_detail->iconRowCount(), DefaultsKey::IconRowCount);
}
