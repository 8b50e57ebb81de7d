#pragma once

#include "grid/GridCommandHost.h"
#include "grid/GridEditorRequest.h"
#include "grid/ReplaceAlertPanel.h"

#include <QObject>
#include <QPointer>
#include <QVariantMap>

#include <functional>

// The item commands of the cell menu: add, delete (or clear), replace, prepend and append the
// value of the clicked column in every target row (the selected rows when they hold the clicked
// row, else the clicked row alone). Each asks first, then hands every change to the view
// controller's undoable edits inside one undo group. The target rows are left selected, so a
// command on a row outside the selection selects that row; only a default value added to the
// clicked contact selects its row alone.
//
// Every target is resolved to its contact and its entry's own "labelIndex" before the first
// change: each change reloads and re-sorts the grid, so row positions would point elsewhere after
// it, and deleting one entry moves the positions of the contact's later entries.
class GridItemCommands : public QObject
{
    Q_OBJECT

public:
    explicit GridItemCommands(GridCommandHost &host, QObject *parent = nullptr);

    // "Delete Item" and "Clear Text".
    void deleteItem();
    // Replace, prepend or append, after the replace sheet.
    void replaceItem(ReplaceAlertPanel::Mode mode);
    // "Add Item": a default entry for the clicked contact, or the column's editor for a new value.
    void insertItem();

    // The sheet of the last replace, prepend or append while it is open.
    ReplaceAlertPanel *replaceAlertPanel() const { return m_panel; }

signals:
    void editorRequested(const GridEditorRequest &request);

private:
    enum class Kind
    {
        AddressPart,
        Birthday,
        PhoneticName,
        Labeled,
        Text,
    };
    // One target: the row's contact and, for a labelled or address column, its entry's own
    // "labelIndex" (-1 when the row holds no entry there).
    struct Target
    {
        SubContactRowPtr row;
        Kind kind = Kind::Text;
        qint64 labelIndex = -1;
    };

    Kind kindOf(const QString &identifier, const QNPerson &person) const;
    // The identifier of the list the column shows: "Address" for the address parts.
    static QString listIdentifier(const QString &identifier);
    // Each contact and entry once, in row order.
    QList<Target> resolve(const QList<int> &rows, const QString &identifier) const;
    bool deleteTarget(const Target &target, const QString &identifier);
    bool replaceTarget(const Target &target, const QString &identifier, ReplaceAlertPanel::Mode mode,
                       const QString &text, const QString &label);
    bool replaceText(const Target &target, const QString &identifier, ReplaceAlertPanel::Mode mode,
                     const QString &text);
    void openReplaceSheet(const GridClickedCell &cell, ReplaceAlertPanel::Mode mode,
                          std::function<void(const ReplaceAlertPanel &)> confirmed);
    void insertDefault(const GridClickedCell &cell, const QVariantMap &entry);

    GridCommandHost &m_host;
    QPointer<ReplaceAlertPanel> m_panel;
};
