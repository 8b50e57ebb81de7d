#include "panels/MergeEditing.h"

#include "panels/MergeRowBuilder.h"

#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"

namespace MergeEditing {

namespace {

const QString Address = QStringLiteral("Address");
const QString InstantMessage = QStringLiteral("Instant Message");
const QString SocialNetwork = QStringLiteral("Social Network");
const QString Dates = QStringLiteral("Dates");

const QStringList AddressParts = {QStringLiteral("ZIP"), QStringLiteral("State"), QStringLiteral("City"),
                                  QStringLiteral("Street"), QStringLiteral("Country")};

// The kind's own editor where it has one besides the list editor.
std::optional<EditorKind> singleEntryEditor(const QString &type)
{
    if (type == Address)
        return EditorKind::Address;
    if (type == InstantMessage)
        return EditorKind::InstantMessage;
    if (type == SocialNetwork)
        return EditorKind::SocialProfile;
    return std::nullopt;
}

std::optional<EditorKind> dateEditor(const QString &type)
{
    if (type == Dates)
        return EditorKind::Dates;
    if (type == PersonIdentifier::Birthday)
        return EditorKind::Birthday;
    return std::nullopt;
}

} // namespace

Action doubleClickAction(const Click &click)
{
    const std::optional<EditorKind> date = dateEditor(click.type);
    if (click.commandHeld) {
        if (date)
            return Action::open(*date);
        if (click.valueType == PersonValueType::Labeled)
            return Action::open(EditorKind::List);
    }
    if (!click.valueColumn)
        return {};
    const bool hasText = !click.valueText.isEmpty();
    const std::optional<EditorKind> own = singleEntryEditor(click.type);
    if (!click.editing) {
        if (own && hasText)
            return Action::open(*own);
        if (date && hasText)
            return Action::open(*date);
        return {};
    }
    if (own)
        return Action::open(hasText ? *own : EditorKind::List);
    if (date)
        return Action::open(*date);
    if (click.type == PersonIdentifier::Name || click.type == PersonIdentifier::PhoneticName ||
        click.valueType == PersonValueType::String)
        return Action::inlineEdit();
    if (click.valueType == PersonValueType::Labeled)
        return hasText ? Action::inlineEdit() : Action::open(EditorKind::List);
    return {};
}

Action menuEditorAction(const QString &type)
{
    if (const std::optional<EditorKind> date = dateEditor(type))
        return Action::open(*date);
    return Action::open(EditorKind::List);
}

QString listEditorType(const QString &type)
{
    return AddressParts.contains(type) ? Address : type;
}

QSize contentSize(EditorKind editor, const QString &type)
{
    switch (editor) {
    case EditorKind::List:
        if (type == Address)
            return {820, 260};
        if (type == InstantMessage)
            return {460, 260};
        if (type == SocialNetwork)
            return {680, 260};
        return {360, 260};
    case EditorKind::Address:
        return {340, 460};
    case EditorKind::InstantMessage:
        return {340, 192};
    case EditorKind::SocialProfile:
        return {400, 222};
    case EditorKind::Dates:
        return {340, 392};
    case EditorKind::Birthday:
        return {340, 284};
    case EditorKind::PhoneticName:
    case EditorKind::Name:
        // The sheet edits names in place and opens no editor for them.
        break;
    }
    return {};
}

EditorContextPtr editorContext(EditorKind editor, const ContactRowPtr &contact, const QString &type,
                               qint64 labelIndex)
{
    auto context = std::make_shared<EditorContext>();
    context->contact = contact;
    context->type = type;
    switch (editor) {
    case EditorKind::List:
    case EditorKind::Birthday:
        context->editEnabled = true;
        break;
    case EditorKind::Dates:
        context->editEnabled = true;
        context->labelIndex = int(labelIndex);
        break;
    case EditorKind::Address:
    case EditorKind::InstantMessage:
    case EditorKind::SocialProfile:
        context->labelIndex = int(labelIndex);
        break;
    case EditorKind::PhoneticName:
    case EditorKind::Name:
        break;
    }
    return context;
}

QString valueText(const MergeRow &row, QNPerson &person, const MergeRowBuilder &builder)
{
    if (row.type == PersonIdentifier::Name)
        return person.nameValue().value(row.label.value_or(QString())).toString();
    if (row.type == PersonIdentifier::PhoneticName)
        return person.phoneticNameValue().value_or(QVariantMap()).value(row.label.value_or(QString())).toString();
    if (row.type == PersonIdentifier::Birthday)
        return person.stringValueForIdentifier(row.type);
    const QString valueType = builder.valueType(person, row.type);
    if (valueType == PersonValueType::Labeled) {
        if (!row.index || row.isFiller())
            return QString();
        const std::optional<QVariantMap> entry = person.labeledValueForIdentifierAtIndex(row.type, *row.index);
        return entry ? entry->value(PersonKey::StringValue).toString() : QString();
    }
    if (valueType == PersonValueType::String)
        return person.stringValueForIdentifier(row.type);
    return QString();
}

bool hasTextEntries(const QString &type, const QString &valueType)
{
    return valueType == PersonValueType::Labeled && !singleEntryEditor(type) && !dateEditor(type);
}

int nextEditableRow(const MergeRowTable &rows, int row, const std::function<bool(int)> &canEdit)
{
    const int count = int(rows.size());
    if (count < 2)
        return -1;
    int next = row;
    for (int step = 0; step < count; ++step) {
        next = next + 1 >= count ? 1 : next + 1;
        if (canEdit(next))
            return next;
    }
    return -1;
}

} // namespace MergeEditing
