#pragma once

#include <QString>
#include <QStringList>
#include <QVariantMap>

#include <optional>

// The rules by which the toolbar's menus change the label filter and the view types' columns.
class ToolbarChoices
{
public:
    // The filter after choosing a label: "All" clears the filter; a label joins or leaves the
    // chosen ones, and the filter becomes ["All"] again when none is left.
    static QStringList toggledLabels(const QStringList &selected, const QString &label);
    // A stored filter as the menus use it: ["All"] for an empty one, or one that has "All"
    // beside other labels.
    static QStringList normalizedLabels(const QStringList &stored);

    // A shown column leaves the list; another one joins right after the first column.
    static QStringList toggledColumns(const QStringList &columns, const QString &identifier);

    // Every view type's list without the identifiers that are not known, and a "Name" view type
    // when there is none. With no known list (custom items not gathered yet) identifiers are
    // kept: they may still turn out to be custom items.
    static QVariantMap cleanedViewTypeDict(const QVariantMap &stored,
                                           const std::optional<QStringList> &known);
};
