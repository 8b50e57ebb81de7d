#pragma once

#include "ui/contracts/ItemAndRange.h"

#include <QString>

enum class FindDirection { Forward, Backward };

namespace FindText {

using TextRange = ItemAndRange::TextRange;

// The next occurrence of findString in text after the cursor (forward: from the cursor's end on;
// backward: wholly before the cursor's start). A cursor without a location searches the whole text.
// Nothing for an empty text or an empty findString.
TextRange lookForString(const QString &findString, const QString &text, TextRange cursor,
                        FindDirection direction, Qt::CaseSensitivity cs);

// Whether the range lies inside the text and holds findString there.
bool holdsMatch(const QString &text, TextRange range, const QString &findString, Qt::CaseSensitivity cs);

// Every occurrence replaced; the text unchanged for an empty findString (which would otherwise
// insert the replacement between every two characters).
QString replacingOccurrences(const QString &text, const QString &findString, const QString &replacement,
                             Qt::CaseSensitivity cs);

} // namespace FindText
