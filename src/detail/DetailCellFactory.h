#pragma once

#include "ui/contracts/DetailRow.h"
#include "ui/contracts/ItemAndRange.h"
#include "model/AddressBookRecords.h"

#include <QFont>
#include <QStringList>
#include <QVariantList>

#include <optional>

class DetailPopupAndTextCell;
class DetailRowBuilder;
class ImageViewDragAndDropDelegate;
class QWidget;

// Makes the cells of the contact detail table from its rows: the label column's name and icon,
// and the value column's text, photo well, popup or label popup with text.
class DetailCellFactory
{
public:
    // What the cells show besides the rows.
    struct Context
    {
        ContactRowPtr contact;
        const DetailRowBuilder *builder = nullptr;
        QFont font;
        double rowHeight = 20.0;
        bool editState = false;
        QString findString;
        Qt::CaseSensitivity findOptions = Qt::CaseInsensitive;
        std::optional<ItemAndRange> findTarget;
        QStringList nameOrderingLabels;
        // What the "Groups" row shows.
        QStringList groupNames;
        ImageViewDragAndDropDelegate *photoDelegate = nullptr;
        // The table whose own drags the photo well refuses.
        QWidget *tableView = nullptr;
    };

    enum Column
    {
        TypeColumn = 0,
        ValueColumn = 1
    };

    explicit DetailCellFactory(const Context &context) : m_context(context) {}

    // The cell of that row and column; null for a value whose kind has no cell.
    QWidget *makeCell(const DetailRowTable &rows, int row, int column) const;

private:
    QWidget *makeTypeCell(const DetailRowTable &rows, int row) const;
    QWidget *makeValueCell(const DetailRow &row) const;
    QWidget *makeNamePartCell(const DetailRow &row) const;
    QWidget *makePhotoCell() const;
    QWidget *makeGroupsCell(const DetailRow &row) const;
    QWidget *makeNameOrderingCell() const;
    QWidget *makeNameDisplayCell() const;
    QWidget *makeTextCell(const DetailRow &row, const QString &text, const QString &placeholder,
                          bool editable) const;
    QWidget *makeLabeledValueCell(const DetailRow &row) const;

    Context m_context;
};
