#pragma once

#include <QString>
#include <QStringList>

#include <functional>

class QAbstractItemView;

// What the custom-label sheet and the custom-item popover share in editing a list of labels.
namespace LabelListEditing {

// "new" in the user's language, else "new1", "new2", ...: the first that taken() does not hold.
QString nextNewLabel(const std::function<bool(const QString &)> &taken);

// Puts the label before the selected row, or at the end when none is selected; answers its row.
int insertLabel(QStringList &list, const QString &label, int selectedRow);

// The labels in the user's collation order; only the order changes.
QStringList sortedLabels(const QStringList &labels, bool ascending);

// Hands the text being typed in a cell of the view to the model and closes the cell's editor,
// so that Done takes it.
void commitEditing(QAbstractItemView *view);

} // namespace LabelListEditing
