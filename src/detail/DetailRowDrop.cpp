#include "detail/DetailRowDrop.h"

#include "detail/DetailRowBuilder.h"
#include "model/QNPerson.h"
#include "model/QNPersonKeys.h"
#include "model/QNvCard.h"
#include "platform/widgets/PasteboardTypes.h"
#include "ui/contracts/DetailEditDelegate.h"

#include <QMimeData>

namespace {

const QStringList NeverDroppedOn{PersonIdentifier::Groups, PersonIdentifier::NameOrdering,
                                 PersonIdentifier::NameDisplay};

QString namePart(QNPerson &person, const QString &identifier, const QString &part)
{
    if (identifier == PersonIdentifier::Name)
        return person.nameValue().value(part).toString();
    return person.phoneticNameValue().value_or(QVariantMap()).value(part).toString();
}

bool hasBirthday(QNPerson &person)
{
    const auto birthday = person.birthdayValue();
    return birthday && birthday->value(PersonKey::Value).isValid();
}

Qt::DropAction moveOnRow(bool onRow, bool hasValue)
{
    return onRow && hasValue ? Qt::MoveAction : Qt::IgnoreAction;
}

} // namespace

DetailRowDrop::DetailRowDrop(const DetailRowTable &rows, const DetailRowBuilder &builder)
    : m_rows(rows), m_builder(builder)
{
}

// --- reordering ---------------------------------------------------------------------------------

bool DetailRowDrop::isFirstRowOfField(int row) const
{
    return row == 0 || m_rows.at(row - 1)->type != m_rows.at(row)->type;
}

Qt::DropAction DetailRowDrop::validateReorder(int draggingSourceIndex, const Target &target) const
{
    if (target.onRow || target.row < 0)
        return Qt::IgnoreAction;
    if (target.row >= m_rows.size() || target.row == draggingSourceIndex || isFirstRowOfField(target.row))
        return Qt::MoveAction;
    return Qt::IgnoreAction;
}

std::optional<QStringList> DetailRowDrop::reorderedFields(const QStringList &rowOrder,
                                                          int draggingSourceIndex, int row) const
{
    if (row < 0 || row > m_rows.size() || row == draggingSourceIndex || m_rows.isEmpty() ||
        draggingSourceIndex < 0 || draggingSourceIndex >= m_rows.size())
        return std::nullopt;
    const int from = m_rows.at(draggingSourceIndex)->rowOrderIndex;
    const int to = m_rows.at(row == m_rows.size() ? row - 1 : row)->rowOrderIndex;
    if (from < 0 || from >= rowOrder.size() || to < 0 || to >= rowOrder.size())
        return std::nullopt;
    QStringList order = rowOrder;
    const QString field = order.at(from);
    if (from >= to) {
        order.removeAt(from);
        order.insert(to, field);
    } else {
        order.insert(to, field);
        order.removeAt(from);
    }
    return order;
}

// --- values from other views ----------------------------------------------------------------

QNPersonPtr DetailRowDrop::droppedPerson(const QMimeData *data)
{
    const QString text = PasteboardTypes::string(data, PasteboardTypes::VCard);
    if (text.isEmpty())
        return nullptr;
    const QNvCard reader;
    const std::optional<ContainerTable> containers = reader.containersFromVCards(text);
    if (!containers || containers->isEmpty())
        return nullptr;
    const ContactTablePtr rows = reader.contactsInContainer(containers->first());
    if (!rows || rows->isEmpty())
        return nullptr;
    return rows->first()->person;
}

QString DetailRowDrop::valueType(QNPerson &person, const QString &identifier) const
{
    return m_builder.valueTypeForIdentifier(&person, identifier);
}

std::optional<QVariantMap> DetailRowDrop::droppedEntry(const QMimeData *data, QNPerson &dropped,
                                                       const QString &identifier)
{
    bool ok = false;
    const int position = PasteboardTypes::string(data, PasteboardTypes::ValuePosition).toInt(&ok);
    return dropped.labeledValueForIdentifierAtIndex(identifier, ok ? position : 0);
}

Qt::DropAction DetailRowDrop::validateCopy(const QMimeData *data, const QNPersonPtr &dropped, QNPerson &shown,
                                           const Target &target, bool editState) const
{
    if (!editState || target.row < 0 || target.row >= m_rows.size() || !dropped)
        return Qt::IgnoreAction;
    // Held, not borrowed: a reload during the check would drop the row.
    const DetailRowPtr held = m_rows.at(target.row);
    const DetailRow &row = *held;
    if (PasteboardTypes::hasType(data, PasteboardTypes::Identifier) &&
        PasteboardTypes::string(data, PasteboardTypes::Identifier) != row.type)
        return Qt::IgnoreAction;
    if (NeverDroppedOn.contains(row.type))
        return Qt::IgnoreAction;
    if (row.type == PersonIdentifier::Name || row.type == PersonIdentifier::PhoneticName)
        return moveOnRow(target.onRow,
                         !namePart(*dropped, row.type, row.label.value_or(QString())).isEmpty());
    if (row.type == PersonIdentifier::Photo)
        return moveOnRow(target.onRow, !dropped->photo().isNull());
    if (row.type == PersonIdentifier::Birthday)
        return moveOnRow(target.onRow, hasBirthday(*dropped));
    if (valueType(*dropped, row.type) == PersonValueType::Labeled) {
        if (!droppedEntry(data, *dropped, row.type))
            return Qt::IgnoreAction;
        if (shown.labeledValueForIdentifier(row.type).isEmpty())
            return Qt::CopyAction;
        return target.onRow ? Qt::MoveAction : Qt::CopyAction;
    }
    return moveOnRow(target.onRow, !dropped->stringValueForIdentifier(row.type).isEmpty());
}

std::optional<QVariantList> DetailRowDrop::listWithDroppedEntry(const QVariantMap &entry, QNPerson &shown,
                                                                const DetailRow &target, bool onRow) const
{
    QVariantList list = shown.labeledValueForIdentifier(target.type);
    QVariantMap copied = entry;
    // A value from another contact is a new entry here, whatever its number was there.
    copied.insert(PersonKey::LabelIndex, qlonglong(QNPerson::nextLabelIndex(list)));
    if (list.isEmpty())
        return QVariantList{copied};
    const int position = target.index.value_or(-1);
    if (position < 0 || position >= list.size())
        return std::nullopt;
    if (onRow)
        list[position] = copied;
    else
        list.insert(position, copied);
    return list;
}

bool DetailRowDrop::acceptCopy(const QMimeData *data, const QNPersonPtr &dropped,
                               const ContactRowPtr &contact, const Target &target,
                               DetailEditDelegate &delegate, QObject *sender) const
{
    if (!dropped || !contact || !contact->person || target.row < 0 || target.row >= m_rows.size())
        return false;
    // Held, not borrowed: the edit reloads the table, which drops its rows.
    const DetailRowPtr held = m_rows.at(target.row);
    const DetailRow &row = *held;
    QNPerson &shown = *contact->person;
    if (NeverDroppedOn.contains(row.type))
        return false;
    if (row.type == PersonIdentifier::Name || row.type == PersonIdentifier::PhoneticName) {
        const QString part = row.label.value_or(QString());
        const QString text = namePart(*dropped, row.type, part);
        if (text.isEmpty())
            return false;
        if (row.type == PersonIdentifier::Name) {
            QVariantMap name = shown.nameValue();
            name.insert(part, text);
            return delegate.undoReplaceNameValue(name, contact);
        }
        QVariantMap phonetic = shown.phoneticNameValue().value_or(QVariantMap());
        phonetic.insert(part, text);
        return delegate.undoReplacePhoneticNameValue(phonetic, contact);
    }
    if (row.type == PersonIdentifier::Photo) {
        const QImage photo = dropped->photo();
        return !photo.isNull() && delegate.undoReplacePhoto(photo, contact);
    }
    if (row.type == PersonIdentifier::Birthday) {
        const auto birthday = dropped->birthdayValue();
        return hasBirthday(*dropped) && delegate.undoReplaceBirthday(*birthday, contact);
    }
    if (valueType(*dropped, row.type) == PersonValueType::Labeled) {
        const std::optional<QVariantMap> entry = droppedEntry(data, *dropped, row.type);
        if (!entry)
            return false;
        const std::optional<QVariantList> list = listWithDroppedEntry(*entry, shown, row, target.onRow);
        return list && delegate.undoReplaceLabeledValue(*list, row.type, contact, sender);
    }
    const QString text = dropped->stringValueForIdentifier(row.type);
    return !text.isEmpty() && delegate.undoReplaceValue(text, row.type, contact, sender);
}
