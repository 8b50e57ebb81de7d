#pragma once

class QLockFile;

// Lock files that programs sharing a folder take around their writes.
namespace LockFiles {

// Takes the lock within the timeout (0: one try). A lock file that names no live process is stale
// and taken over at once: one naming a process that is gone, and one that names none at all
// (empty or unreadable, as a program killed between making it and writing it leaves it), once it
// is old enough not to be one that a live program is writing this moment.
bool tryLock(QLockFile &lock, int timeoutMs);

} // namespace LockFiles
