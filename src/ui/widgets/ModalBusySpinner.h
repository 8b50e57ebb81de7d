#pragma once

// The busy sign's spinner for a modal window in front of the main window (the print window covers
// it, spinner and all): drawn in the middle of that window at once, since the busy main thread
// paints nothing else, and taken away with the sign. Nothing while no modal window shows.
namespace ModalBusySpinner {

void show(bool busy);

} // namespace ModalBusySpinner
