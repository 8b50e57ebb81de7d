#pragma once

#include "ui/widgets/FindHighlight.h"

#include <QList>
#include <QString>
#include <QVariantMap>

#include <optional>

// What one cell of the grid shows.
struct GridCell
{
    enum class Kind
    {
        // No cell: a value the row does not have, a continuation row of a single value.
        None,
        // The contact's picture and bold name, with the company (or the person) under it.
        Name,
        Text,
        // A labelled value: its label popup beside its text.
        PopupAndText,
        // The last row: the group's name and its number of contacts.
        Footer
    };

    Kind kind = Kind::None;
    QString text;
    QString detailText;
    bool showsImage = false;

    // PopupAndText: the value, or empty when the row has none there (popup hidden).
    QVariantMap labeledValue;
    QString labelTitle;
    bool customLabel = false;
    // Whether the text may be edited in place.
    bool textEditable = false;

    QList<FindHighlight::Range> findRanges;
    std::optional<FindHighlight::Range> currentHit;

    bool showsLabel() const { return kind == Kind::PopupAndText && !labeledValue.isEmpty(); }
};
