#pragma once

#include "find/FindPanelCursor.h"
#include "find/SearchResultRow.h"

#include <QAbstractTableModel>

#include <utility>

// The find window's result table: a thin adapter over the window's results. The value column
// carries the match ranges for its delegate; while the window edits, value cells can be edited,
// and an edit is reported, never written here. Every row is one line high: a value of several
// lines shows the line that holds its current match, or its first one.
class FindPanelResultsModel : public QAbstractTableModel
{
    Q_OBJECT

public:
    enum Column
    {
        NameColumn,
        ItemColumn,
        SubItemColumn,
        LabelColumn,
        ValueColumn,
        ColumnCount
    };
    enum Role
    {
        // The value's ranges on its shown line (QList<MatchScan::TextRange> as QVariant), counted
        // from the line's start, one per range of the row; a range off the line is {-1, 0}. Empty
        // without a search string.
        RangesRole = Qt::UserRole + 1,
        // The index of the current match's range in this row; -1 when it lies elsewhere.
        CurrentRangeRole
    };

    explicit FindPanelResultsModel(QObject *parent = nullptr);

    // Replaces the results whole (a reset).
    void setResults(const QList<SearchResultRowPtr> &results);
    const QList<SearchResultRowPtr> &results() const { return m_results; }
    void setCursor(const FindPanelCursor &cursor) { m_cursor = cursor; }
    void setSearchStringShown(bool shown) { m_searchStringShown = shown; }
    void setEditable(bool editable) { m_editable = editable; }
    // The value cell of a result row changed.
    void valueChanged(int row);
    // A write may have renamed its contact, whose other rows show the name too.
    void namesChanged();
    int rowOf(const SearchResultRow *row) const;

    static constexpr int RowHeight = 24;

    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role) override;
    // Sorts the results themselves by the column's text; the window keeps its selection.
    void sort(int column, Qt::SortOrder order) override;

signals:
    void valueEdited(int row, const QString &text);

private:
    static QString columnText(const SearchResultRow &row, int column);
    // The start and end of the value's line that the row shows.
    std::pair<qsizetype, qsizetype> shownLine(int row) const;
    // The row's match ranges counted from the start of that line; {-1, 0} for one off it.
    QList<MatchScan::TextRange> rangesOnShownLine(int row) const;

    QList<SearchResultRowPtr> m_results;
    FindPanelCursor m_cursor;
    bool m_searchStringShown = false;
    bool m_editable = false;
};

Q_DECLARE_METATYPE(QList<MatchScan::TextRange>)
