#pragma once

#include <QIcon>

// The pencil on the button of an address row that opens the row in the address editor.
namespace ListEditorPencilIcon {

QIcon icon(const QColor &colour);

} // namespace ListEditorPencilIcon
