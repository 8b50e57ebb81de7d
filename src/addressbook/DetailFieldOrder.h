#pragma once

#include <QStringList>

#include <optional>

class UserDefaults;

// The order of the fields in the detail tables, which a pasted line of text follows too: the
// user's order saved under "QN1DlastRowOrder" by dragging detail rows, else the default one.
namespace DetailFieldOrder {

// The 22 fields of the default order.
QStringList defaultOrder();
// The saved order; nothing when none was saved.
std::optional<QStringList> saved(UserDefaults &defaults);
void save(const QStringList &order, UserDefaults &defaults);

} // namespace DetailFieldOrder
