#pragma once

#include "grid/GridColumn.h"
#include "grid/GridRows.h"
#include "ui/contracts/ItemAndRange.h"
#include "ui/contracts/SubContactRow.h"

#include <QFont>
#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantList>
#include <QVariantMap>

// What the grid shows, held by its controller and read by its model and cell delegate.
struct GridState
{
    // The shown group's rows (the view controller's table); null while nothing is loaded.
    ContactTablePtr contactTable;
    // The grid's rows in display order, the footer not among them.
    GridRows subContactTable;
    // In model order; the header may show them moved.
    QList<GridColumn> columns;

    QStringList selectedLabels{QStringLiteral("All")};
    QVariantList customItems;
    bool editState = true;
    bool showCompanyInNameCell = false;

    QFont selectedFont;
    QFont selectedBoldfont;
    // Height of a one-line row.
    int rowHeight = 20;

    QString findString;
    Qt::CaseSensitivity findOptions = Qt::CaseInsensitive;
    // The current hit.
    std::optional<ItemAndRange> selectedItemAndRange;

    // The selected group's name, shown in the footer.
    QString groupName;
};
