#pragma once

#include <QStringList>

// The fonts offered for vertical text: the installed families that write Japanese, less the ones
// known to set it badly, with the printer fonts of one maker by their own names.
namespace VerticalFontList {

QStringList make();
// Of the given families, the ones offered, in the given order; the user font's family when none is.
QStringList from(const QStringList &japaneseFamilies, const QStringList &allFamilies);

} // namespace VerticalFontList
