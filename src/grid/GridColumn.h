#pragma once

#include "addressbook/DefaultsKey.h"
#include "addressbook/SortDescriptor.h"

#include <QString>

// One column of the grid: the field it shows, its header, the sort key a click on its header
// sorts by, and its width.
struct GridColumn
{
    QString identifier;
    QString title;
    SortDescriptor sortPrototype;
    double width = DefaultsKey::ColumnWidth;
};
