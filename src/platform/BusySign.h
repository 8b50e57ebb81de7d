#pragma once

#include <functional>

// The busy sign for long work on the main thread. Work that runs in the main thread's event loop
// cannot let a timer fire, so its long loops call tick(): once the event loop's current pass has
// lasted half a second, the handler is told to show the sign, and told to hide it when the loop
// next waits for events. Work on the pool uses BusyWait instead, with the same half second.
namespace BusySign {

// Set once by the application, after the application object exists; none in most tests.
void setHandler(std::function<void(bool busy)> handler);
// Cheap enough for every contact of a loop; does nothing off the main thread.
void tick();

// Test hook: how long a pass lasts before the sign shows; negative restores the default.
void setDelayForTesting(int milliseconds);

} // namespace BusySign
