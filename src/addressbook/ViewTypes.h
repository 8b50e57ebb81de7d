#pragma once

#include <QList>
#include <QString>
#include <QStringList>
#include <QVariantMap>

// The built-in view types: which columns the grid shows for each. Kept as one table so that the
// first-start defaults, the view-type menu and the grid agree.
class ViewTypes
{
public:
    struct ViewType
    {
        QString name;
        QStringList columns;
    };

    // In the order the view-type menu lists them; every column list begins with "Name".
    static const QList<ViewType> &builtIn();
    static QStringList builtInNames();

    // A new ViewTypeDict of the built-in table (name to a list of column identifiers).
    static QVariantMap defaultViewTypeDict();
    // Each labelled field to ["All"]: no label filter.
    static QVariantMap defaultSelectedLabels();
    // The label filter that shows every value.
    static QStringList allLabels();
};
