#pragma once

#include "model/AddressBookRecords.h"
#include "ui/contracts/DetailRow.h"

#include <QStringList>
#include <Qt>

#include <optional>

class DetailEditDelegate;
class DetailRowBuilder;
class QMimeData;
class QObject;

// The drop rules of a detail table. A drag from the same table moves a whole field to another
// place in the field order; a drag from another view of this program copies one value of the
// dragged contact into the shown one, through the edit delegate; another program's drag is
// never taken.
class DetailRowDrop
{
public:
    enum class Source
    {
        OtherApplication,
        ThisTable,
        Application,
    };

    // A drop above row (the row count: after the last row), or on it.
    struct Target
    {
        int row = 0;
        bool onRow = false;
    };

    DetailRowDrop(const DetailRowTable &rows, const DetailRowBuilder &builder);

    // --- reordering ---

    // Only between fields: above the first row of a field, the dragged row itself or past the last.
    Qt::DropAction validateReorder(int draggingSourceIndex, const Target &target) const;
    // The field order with the dragged row's field just before the target row's field (before the
    // last field for a drop past the end); nothing for a drop the order cannot take.
    std::optional<QStringList> reorderedFields(const QStringList &rowOrder, int draggingSourceIndex,
                                               int row) const;

    // --- values from other views ---

    // The first contact of the drag's vCard data; null when there is none.
    static QNPersonPtr droppedPerson(const QMimeData *data);
    // Move replaces the target value, copy adds one; none refuses.
    Qt::DropAction validateCopy(const QMimeData *data, const QNPersonPtr &dropped, QNPerson &shown,
                                const Target &target, bool editState) const;
    // Writes the dropped value into the contact through the delegate (one undoable step); false
    // when nothing was written.
    bool acceptCopy(const QMimeData *data, const QNPersonPtr &dropped, const ContactRowPtr &contact,
                    const Target &target, DetailEditDelegate &delegate, QObject *sender) const;

    // The entry of the dragged value in the dropped person's field, with a fresh "labelIndex" for
    // the list it joins.
    static std::optional<QVariantMap> droppedEntry(const QMimeData *data, QNPerson &dropped,
                                                   const QString &identifier);

private:
    bool isFirstRowOfField(int row) const;
    QString valueType(QNPerson &person, const QString &identifier) const;
    std::optional<QVariantList> listWithDroppedEntry(const QVariantMap &entry, QNPerson &shown,
                                                     const DetailRow &target, bool onRow) const;

    const DetailRowTable &m_rows;
    const DetailRowBuilder &m_builder;
};
