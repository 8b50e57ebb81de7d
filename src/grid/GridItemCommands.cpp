#include "grid/GridItemCommands.h"

#include "addressbook/TextFormat.h"
#include "addressbook/UndoGroup.h"
#include "grid/ContactsViewController.h"
#include "grid/GridField.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "platform/Localizer.h"
#include "platform/widgets/Alert.h"
#include "ui/contracts/GridEditDelegate.h"

#include <QSet>

#include <algorithm>

namespace {

using Mode = ReplaceAlertPanel::Mode;

const QString AddressIdentifier = QStringLiteral("Address");
const QString PhoneIdentifier = QStringLiteral("Phone");
const QString EmailIdentifier = QStringLiteral("Email");
const QString URLIdentifier = QStringLiteral("URL");
const QString RelationshipIdentifier = QStringLiteral("Relationship");
const QString SocialIdentifier = QStringLiteral("Social Network");
const QString InstantMessageIdentifier = QStringLiteral("Instant Message");
const QString DatesIdentifier = QStringLiteral("Dates");

QVariantMap defaultEntry(const QString &label, const QString &value)
{
    return {{PersonKey::Label, label}, {PersonKey::Value, value}};
}

// The text a mode leaves in place of old.
QString combined(Mode mode, const QString &old, const QString &text)
{
    switch (mode) {
    case Mode::PrependText:
        return text + old;
    case Mode::AppendText:
        return old + text;
    default:
        return text;
    }
}

bool setsLabel(Mode mode)
{
    return mode == Mode::ReplaceLabelAndText || mode == Mode::AddLabelAndText;
}

} // namespace

GridItemCommands::GridItemCommands(GridCommandHost &host, QObject *parent) : QObject(parent), m_host(host) {}

QString GridItemCommands::listIdentifier(const QString &identifier)
{
    return GridField::isAddressPart(identifier) ? AddressIdentifier : identifier;
}

GridItemCommands::Kind GridItemCommands::kindOf(const QString &identifier, const QNPerson &person) const
{
    if (GridField::isAddressPart(identifier))
        return Kind::AddressPart;
    if (identifier == PersonIdentifier::Birthday)
        return Kind::Birthday;
    if (identifier == PersonIdentifier::PhoneticName)
        return Kind::PhoneticName;
    if (m_host.valueType(identifier, person) == PersonValueType::Labeled)
        return Kind::Labeled;
    return Kind::Text;
}

QList<GridItemCommands::Target> GridItemCommands::resolve(const QList<int> &rows,
                                                          const QString &identifier) const
{
    QList<Target> targets;
    QSet<QPair<const QNPerson *, qint64>> taken;
    QList<int> sorted = rows;
    std::sort(sorted.begin(), sorted.end());
    for (int index : std::as_const(sorted)) {
        const SubContactRowPtr row = m_host.rowAt(index);
        if (!row || !row->person)
            continue;
        Target target{row, kindOf(identifier, *row->person), -1};
        if (target.kind == Kind::AddressPart || target.kind == Kind::Labeled) {
            const auto entry =
                row->person->labeledValueForIdentifierAtIndex(listIdentifier(identifier), row->labelIndex);
            if (!entry)
                continue;
            target.labelIndex = entry->value(PersonKey::LabelIndex).toLongLong();
        }
        // A contact's single value shows on each of its rows; it is changed once.
        const QPair<const QNPerson *, qint64> key{row->person.get(), target.labelIndex};
        if (!taken.contains(key)) {
            taken.insert(key);
            targets.append(target);
        }
    }
    return targets;
}

// --- delete ---------------------------------------------------------------------------------

void GridItemCommands::deleteItem()
{
    const GridClickedCell cell = m_host.clickedCell();
    if (!cell.isValid() || !m_host.edits())
        return;
    const QList<Target> targets = resolve(m_host.targetRows(cell.row), cell.identifier);
    Alert alert;
    alert.setMessageText(TextFormat::fill(
        L(QStringLiteral(
            "Do you want to delete the item(label and text) in the selected cells in column:%@ ?")),
        {QNPerson::localizedIdentifierForKey(cell.identifier)}));
    alert.setInformativeText(L(QStringLiteral("This operation can be undone.")));
    alert.addButton(L(QStringLiteral("OK")));
    alert.addButton(L(QStringLiteral("Cancel")), Alert::ButtonRole::Cancel);
    QPointer<GridItemCommands> self(this);
    alert.beginSheetModalForWindow(m_host.window(), [self, cell, targets](int response) {
        if (!self || response != Alert::FirstButton || !self->m_host.edits())
            return;
        self->m_host.selectTargetRows(cell.row);
        bool changed = false;
        {
            UndoGroup group(*self->m_host.edits()->undoManager());
            // Last row first, as the user sees the rows go.
            for (auto target = targets.crbegin(); target != targets.crend(); ++target)
                changed = self->deleteTarget(*target, cell.identifier) || changed;
        }
        self->m_host.finishChanges(changed);
    });
}

bool GridItemCommands::deleteTarget(const Target &target, const QString &identifier)
{
    GridEditDelegate &edits = *m_host.edits();
    QObject *sender = &m_host.grid();
    switch (target.kind) {
    case Kind::AddressPart:
        // The whole postal address goes, not only the clicked part.
        return edits.undoDeleteLabeledValueForIdentifier(AddressIdentifier, target.labelIndex, target.row,
                                                         sender);
    case Kind::Labeled:
        return edits.undoDeleteLabeledValueForIdentifier(identifier, target.labelIndex, target.row, sender);
    case Kind::Birthday:
        edits.undoReplaceBirthday(QVariant(), target.row);
        return true;
    case Kind::PhoneticName:
        edits.undoReplacePhoneticNameValue(QVariant(), target.row);
        return true;
    case Kind::Text:
        edits.undoReplaceValue(QString(QLatin1String("")), identifier, target.row, sender);
        return true;
    }
    return false;
}

// --- replace, prepend, append ---------------------------------------------------------------

void GridItemCommands::replaceItem(Mode mode)
{
    const GridClickedCell cell = m_host.clickedCell();
    if (!cell.isValid() || !m_host.edits())
        return;
    const QList<Target> targets = resolve(m_host.targetRows(cell.row), cell.identifier);
    m_host.selectTargetRows(cell.row);
    QPointer<GridItemCommands> self(this);
    openReplaceSheet(cell, mode, [self, cell, targets, mode](const ReplaceAlertPanel &panel) {
        if (!self || !self->m_host.edits())
            return;
        const QString text = panel.replaceString();
        const QString label = setsLabel(mode) ? panel.label() : QString();
        bool changed = false;
        {
            UndoGroup group(*self->m_host.edits()->undoManager());
            for (const Target &target : targets)
                changed = self->replaceTarget(target, cell.identifier, mode, text, label) || changed;
        }
        self->m_host.finishChanges(changed);
    });
}

bool GridItemCommands::replaceTarget(const Target &target, const QString &identifier, Mode mode,
                                     const QString &text, const QString &label)
{
    if (target.kind != Kind::AddressPart && target.kind != Kind::Labeled)
        return replaceText(target, identifier, mode, text);
    QNPerson &person = *target.row->person;
    const QString list = listIdentifier(identifier);
    const auto held = person.labeledValueForIdentifierAtLabelIndex(list, target.labelIndex);
    if (!held)
        return false;
    QVariantMap entry = *held;
    const QString textKey = target.kind == Kind::AddressPart ? identifier : PersonKey::StringValue;
    const QString updated = combined(mode, entry.value(textKey).toString(), text);
    if (target.kind == Kind::AddressPart) {
        entry.insert(identifier, updated);
    } else {
        entry.insert(PersonKey::StringValue, updated);
        entry.insert(PersonKey::Value, updated);
    }
    // With no label offered the entry keeps its own.
    if (!label.isEmpty())
        entry.insert(PersonKey::Label, label);
    const bool adds = mode == Mode::PrependText || mode == Mode::AppendText;
    if (!adds && entry == *held)
        return false;
    if (target.kind == Kind::AddressPart)
        QNPerson::updateAddressValue(entry, 1);
    const bool replaced = m_host.edits()->undoReplaceLabeledValue(entry, list, target.row, &m_host.grid());
    return adds || replaced;
}

bool GridItemCommands::replaceText(const Target &target, const QString &identifier, Mode mode,
                                   const QString &text)
{
    const QString current = target.row->person->stringValueForIdentifier(identifier);
    const QString updated = combined(mode, current, text);
    const bool adds = mode == Mode::PrependText || mode == Mode::AppendText;
    if (!adds && updated == current)
        return false;
    const bool replaced = m_host.edits()->undoReplaceValue(updated, identifier, target.row, &m_host.grid());
    return adds || replaced;
}

void GridItemCommands::openReplaceSheet(const GridClickedCell &cell, Mode mode,
                                        std::function<void(const ReplaceAlertPanel &)> confirmed)
{
    QNPerson &person = *cell.subContact->person;
    const Kind kind = kindOf(cell.identifier, person);
    const QString list = listIdentifier(cell.identifier);
    QString label;
    QString text;
    if (kind == Kind::AddressPart || kind == Kind::Labeled) {
        if (const auto entry = person.labeledValueForIdentifierAtIndex(list, cell.subContact->labelIndex)) {
            label = entry->value(PersonKey::Label).toString();
            text =
                entry->value(kind == Kind::AddressPart ? cell.identifier : PersonKey::StringValue).toString();
        }
    } else {
        text = person.stringValueForIdentifier(cell.identifier);
    }
    if (m_panel)
        m_panel->deleteLater();
    auto *panel = new ReplaceAlertPanel(m_host.window());
    m_panel = panel;
    panel->setLabels(QNPerson::labelsForIdentifier(list).value_or(QStringList()));
    panel->setLocalizedLabels(QNPerson::localizedLabelsForIdentifier(list).value_or(QStringList()));
    panel->setLabel(label);
    panel->setType(mode);
    panel->setIdentifier(cell.identifier);
    panel->setReplaceString(text);
    panel->updateUI();
    panel->beginSheetModalForWindow(m_host.window(), [panel, confirmed = std::move(confirmed)](int code) {
        if (code == 1)
            confirmed(*panel);
        panel->deleteLater();
    });
}

// --- add ------------------------------------------------------------------------------------

void GridItemCommands::insertItem()
{
    const GridClickedCell cell = m_host.clickedCell();
    if (!cell.isValid())
        return;
    const GridTargets targets(m_host.grid().gridRows(), m_host.targetRows(cell.row));
    const QString &identifier = cell.identifier;
    auto openEditor = [&](GridEditor editor, const QString &type) {
        m_host.selectTargetRows(cell.row);
        emit editorRequested(
            {editor, cell.subContact, type, -1, m_host.cellRect(cell.row, cell.column), targets});
    };
    if (identifier == AddressIdentifier || GridField::isAddressPart(identifier))
        openEditor(GridEditor::Address, AddressIdentifier);
    else if (identifier == SocialIdentifier)
        openEditor(GridEditor::SocialProfile, identifier);
    else if (identifier == InstantMessageIdentifier)
        openEditor(GridEditor::InstantMessage, identifier);
    else if (identifier == DatesIdentifier || identifier == PersonIdentifier::Birthday)
        openEditor(GridEditor::Date, identifier);
    else if (identifier == PhoneIdentifier)
        insertDefault(cell, defaultEntry(QStringLiteral("home"), QStringLiteral("123")));
    else if (identifier == RelationshipIdentifier)
        insertDefault(cell, defaultEntry(QStringLiteral("friend"), QStringLiteral("new")));
    else if (identifier == EmailIdentifier || identifier == URLIdentifier)
        insertDefault(cell, defaultEntry(QStringLiteral("new"), QStringLiteral("new")));
    else if (kindOf(identifier, *cell.subContact->person) == Kind::Labeled)
        insertDefault(cell, defaultEntry(QStringLiteral("friend"), QStringLiteral("new")));
    else {
        // A text column has no second value to add; the sheet shows the text and changes nothing.
        m_host.selectTargetRows(cell.row);
        openReplaceSheet(cell, Mode::Other, [](const ReplaceAlertPanel &) {});
    }
}

// The new value goes to the clicked row's contact alone, once; that row alone is selected.
void GridItemCommands::insertDefault(const GridClickedCell &cell, const QVariantMap &entry)
{
    m_host.selectRowAlone(cell.row);
    GridEditDelegate *edits = m_host.edits();
    if (!edits)
        return;
    {
        UndoGroup group(*edits->undoManager());
        edits->undoAddLabeledValue(entry, cell.identifier, cell.subContact, &m_host.grid());
    }
    m_host.finishChanges(true);
}
