#pragma once
// SIGINT, SIGTERM, SIGHUP and SIGQUIT end the show without leaving its data behind. While frames
// are running the first of them ends the show as Escape does, so everything is released in its
// order. At any other moment (the launcher, unpacking, loading, shutting down, a second signal)
// the private data directory is removed at once and the process ends by the signal.
#include <mutex>
#include <string>

// Blocks the four signals in the calling thread, and so in every thread started after it, and
// starts the one thread that takes them. Call first thing in main, before any other thread.
bool InstallStopSignals();

// While on, the first signal only asks the frame loop to stop.
void SetStopByFrameLoop(bool enabled);

// The signal that asked the frame loop to stop; 0 while none has.
int StopSignal();

// What a signal removes when it ends the process at once. Registering the directory and writing
// into it happen under this lock, so a removal never races the unpacking.
std::unique_lock<std::mutex> LockDataDirectoryForSignals();
void SetDirectoryRemovedBySignal(const std::string& path);

// Ends the process by the signal, as if it had never been caught (without a core dump: what it
// would show is already torn down).
[[noreturn]] void EndBySignal(int signal);
