#pragma once

#include "model/AddressBookRecords.h"

#include <QString>

// Texts of the stand-in panes that the main window shows until the real ones take their place.
namespace PlaceholderText {

// A row's name as far as the row tells it.
QString contactTitle(const ContactRow &row);

} // namespace PlaceholderText
