#pragma once

#include <functional>

// Long work of the window (a save, a reload) on the background pool while the main thread waits
// for it in an event loop that paints but takes no input: the window stays drawn and nothing can
// change the address book meanwhile. Once the wait passes half a second, showBusy(true) tells the
// user the program is working; showBusy(false) follows the end of the work.
namespace BusyWait {

void run(const std::function<void()> &work, const std::function<void(bool busy)> &showBusy);

// Test hook: how long the wait lasts before showBusy(true); negative restores the default.
void setBusyDelayForTesting(int milliseconds);

} // namespace BusyWait
