#pragma once

#include "panels/MergeRow.h"

#include <QByteArray>
#include <QFont>
#include <QStringList>

#include <optional>

class ImageViewDragAndDropDelegate;
class MergeRowBuilder;
class QNPerson;
class QWidget;

// Makes the cells of one merge table from its rows: the label column's name and icon, and the
// value column's text, photo, popup or label popup with text.
class MergeCellFactory
{
public:
    struct Context
    {
        QNPerson *person = nullptr;
        const MergeRowBuilder *builder = nullptr;
        QFont font;
        double rowHeight = 20.0;
        bool editState = false;
        // "vCard" for contacts that are not in the store.
        std::optional<QString> documentType;
        // Told of a picture dropped on the photo well.
        ImageViewDragAndDropDelegate *photoDelegate = nullptr;
        // The table the cells sit in, whose own row drags the photo well refuses.
        QWidget *tableView = nullptr;
        // Names the photo well in its drags.
        QByteArray wellTag;
    };

    enum Column
    {
        TypeColumn = 0,
        ValueColumn = 1
    };

    explicit MergeCellFactory(const Context &context) : m_context(context) {}

    // Null for a row the side does not have and a value whose kind has no cell.
    QWidget *makeCell(const MergeRowTable &rows, int row, int column) const;

    // The text an edit in place starts from: name parts, one-line texts and the one-line text of a
    // labelled entry that holds plain text; nullopt for the rest.
    static std::optional<QString> editableText(const MergeRow &row, QNPerson &person, const MergeRowBuilder &builder);

private:
    QWidget *makeTypeCell(const MergeRowTable &rows, int row) const;
    QWidget *makeValueCell(const MergeRow &row) const;
    QWidget *makeNamePartCell(const MergeRow &row) const;
    QWidget *makePhotoCell() const;
    QWidget *makeNameOrderingCell() const;
    QWidget *makeNameDisplayCell() const;
    QWidget *makeTextCell(const MergeRow &row, const QString &text, const QString &placeholder,
                          bool editable) const;
    QWidget *makeLabeledValueCell(const MergeRow &row) const;

    Context m_context;
};
