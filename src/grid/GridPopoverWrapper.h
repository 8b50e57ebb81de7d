#pragma once

#include "grid/GridCommand.h"
#include "grid/GridCommandHost.h"
#include "grid/GridEditorRequest.h"

#include <QObject>

// The cell menu's editor items ("Show Contact Info", "Open Name Panel", "Open Edit Panel", ...):
// picks the editor for the clicked cell and the rows its result is written to, and asks first
// when several rows are concerned. The editor itself is the presenter's: it gets the request.
class GridPopoverWrapper : public QObject
{
    Q_OBJECT

public:
    explicit GridPopoverWrapper(GridCommandHost &host, QObject *parent = nullptr);

    void showPopoverWrapper(GridCommand command);

    // The editor and the type handed to it for a column and a menu item.
    static GridEditorRequest editorFor(const QString &identifier, GridCommand command);

signals:
    void editorRequested(const GridEditorRequest &request);

private:
    // The request once the question about several rows was answered OK; column is the clicked one.
    void requestAfterQuestion(GridEditorRequest request, int column);

    GridCommandHost &m_host;
};
