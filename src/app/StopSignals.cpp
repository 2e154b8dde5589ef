#include "app/StopSignals.h"

#include <pthread.h>
#include <signal.h>
#include <sys/resource.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>

#include "app/PrivateDataDirectory.h"

namespace {

std::mutex g_directoryLock;
std::string g_directory;  // guarded by g_directoryLock
std::atomic<bool> g_stopByFrameLoop{false};
std::atomic<int> g_stopSignal{0};

sigset_t StopSignalSet() {
  sigset_t set;
  sigemptyset(&set);
  for (const int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) sigaddset(&set, signal);
  return set;
}

void* TakeSignals(void*) {
  const sigset_t set = StopSignalSet();
  for (;;) {
    int signal = 0;
    if (sigwait(&set, &signal) != 0) continue;
    int none = 0;
    if (g_stopByFrameLoop.load() && g_stopSignal.compare_exchange_strong(none, signal)) continue;
    // Holding the lock to the end: nothing is written into the directory after it is gone.
    const std::lock_guard<std::mutex> lock(g_directoryLock);
    if (!g_directory.empty()) RemoveDataDirectory(g_directory);
    EndBySignal(signal);
  }
  return nullptr;
}

}  // namespace

bool InstallStopSignals() {
  const sigset_t set = StopSignalSet();
  if (pthread_sigmask(SIG_BLOCK, &set, nullptr) != 0) return false;
  pthread_t thread;
  if (pthread_create(&thread, nullptr, TakeSignals, nullptr) != 0) {
    // Nobody would take them: let them act as they would without us.
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
    return false;
  }
  pthread_detach(thread);
  return true;
}

void SetStopByFrameLoop(bool enabled) { g_stopByFrameLoop.store(enabled); }

int StopSignal() { return g_stopSignal.load(); }

std::unique_lock<std::mutex> LockDataDirectoryForSignals() { return std::unique_lock<std::mutex>(g_directoryLock); }

void SetDirectoryRemovedBySignal(const std::string& path) { g_directory = path; }

void EndBySignal(int signal) {
  std::fflush(stdout);
  std::fflush(stderr);
  const rlimit noCore{0, 0};
  setrlimit(RLIMIT_CORE, &noCore);
  struct sigaction action {};
  action.sa_handler = SIG_DFL;
  sigemptyset(&action.sa_mask);
  sigaction(signal, &action, nullptr);
  sigset_t only;
  sigemptyset(&only);
  sigaddset(&only, signal);
  pthread_sigmask(SIG_UNBLOCK, &only, nullptr);
  raise(signal);
  _exit(128 + signal);
}
