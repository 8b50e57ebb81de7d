#pragma once

#include <functional>

// The busy sign for long work on the main thread. Work that holds the main thread cannot let a
// timer fire, so its long loops call tick(): half a second after the first tick, the handler is
// told to show the sign, and told to hide it once the event loop has control again (the first
// tick posts that). Work on the pool uses BusyWait instead, with the same half second.
namespace BusySign {

// Set by the application; none in most tests.
void setHandler(std::function<void(bool busy)> handler);
// Cheap enough for every contact of a loop; does nothing off the main thread.
void tick();

// Work made of main-thread steps with waits for the pool between them (a save and its reload) is
// one piece of work while a hold lives: the sign shows half a second after the work began, from a
// tick or from a timer that the waits' event loops let fire, and goes only once the last hold has
// ended and the event loop has control again. Main thread only.
class Hold
{
public:
    Hold();
    ~Hold();
    Hold(const Hold &) = delete;
    Hold &operator=(const Hold &) = delete;
};

bool isHeld();

// Test hook: how long a pass lasts before the sign shows; negative restores the default.
void setDelayForTesting(int milliseconds);

} // namespace BusySign
