#pragma once

#include <QObject>

#include <functional>

// Long work of the window (a save, a reload) on the background pool while the main thread waits
// for it in an event loop that paints but takes no input: the window stays drawn and nothing can
// change the address book meanwhile. Once the wait passes half a second, showBusy(true) tells the
// user the program is working; showBusy(false) follows the end of the work. Within a
// BusySign::Hold the hold's sign tells it, from before the wait to after it, and showBusy is not
// called.
//
// Events that are not input still arrive during the wait (a close from the window system or the
// session, a store change). Whatever would start a save, a reload or a question then asks
// isRunning() and waits with whenIdle() until the work has ended.
namespace BusyWait {

void run(const std::function<void()> &work, const std::function<void(bool busy)> &showBusy);

// Work such as a save followed by its reload counts as one from the first step to the last.
class Hold
{
public:
    Hold();
    ~Hold();
    Hold(const Hold &) = delete;
    Hold &operator=(const Hold &) = delete;
};

bool isRunning();
// Runs `then` once no work runs any more (on the next pass of the event loop when none runs now);
// dropped with `context`.
void whenIdle(QObject *context, std::function<void()> then);

// Test hook: how long the wait lasts before showBusy(true); negative restores the default.
void setBusyDelayForTesting(int milliseconds);

} // namespace BusyWait
