#pragma once

// Under tests nobody sits at the screen: an alert or a file panel that has no queued answer
// answers at once (the first button, cancel) and records itself instead of waiting for a user.
// Modal runs of sheets are not affected; a test ends them with a queued call or a queued response.
namespace TestMode {

bool isEnabled();
void setEnabled(bool enabled);

// Forgets every queued answer and every record of the stand-ins of this folder.
void reset();

} // namespace TestMode
