// pulsar-watch DIR... -- COMMAND [ARGS...]
// Runs COMMAND once at the start and again whenever a file below one of the directories is
// saved, moved in or removed, after the changes have been quiet for a moment (an editor or a
// checkout writes several files at once). With the show in development mode watching the
// build's data stage, `pulsar-watch tools/scenes -- ninja -C build scenes` regenerates a scene
// when its generator changes and the show takes it in.
#include <spawn.h>
#include <sys/wait.h>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "platform/file_watch.h"

extern char** environ;

namespace {

volatile std::sig_atomic_t g_stop = 0;

void Stop(int) { g_stop = 1; }

// Quiet time after the last change before the command runs.
constexpr auto kSettle = std::chrono::milliseconds(300);
constexpr auto kPoll = std::chrono::milliseconds(50);

int Run(const std::vector<char*>& command) {
  pid_t child = 0;
  if (posix_spawnp(&child, command[0], nullptr, nullptr, command.data(), environ) != 0) {
    std::fprintf(stderr, "pulsar-watch: cannot run %s: %s\n", command[0], std::strerror(errno));
    return 127;
  }
  int status = 0;
  while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

int Usage() {
  std::fprintf(stderr, "usage: pulsar-watch DIR... -- COMMAND [ARGS...]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  int separator = 1;
  while (separator < argc && std::strcmp(argv[separator], "--") != 0) ++separator;
  if (separator == 1 || separator + 1 >= argc) return Usage();
  std::vector<char*> command(argv + separator + 1, argv + argc);
  command.push_back(nullptr);

  platform::FileWatcher watcher;
  if (!watcher.Create()) {
    std::fprintf(stderr, "pulsar-watch: inotify is not available\n");
    return 1;
  }
  for (int i = 1; i < separator; ++i) {
    if (!watcher.Watch(argv[i], true)) {
      std::fprintf(stderr, "pulsar-watch: cannot watch %s\n", argv[i]);
      return 1;
    }
  }
  std::signal(SIGINT, Stop);
  std::signal(SIGTERM, Stop);

  using Clock = std::chrono::steady_clock;
  bool pending = true;  // once at the start: the stage is then up to date
  Clock::time_point lastChange = Clock::now() - kSettle;
  while (!g_stop) {
    for (const platform::FileChange& change : watcher.Poll()) {
      std::printf("%s %s\n", change.removed ? "removed" : "changed", change.path.c_str());
      pending = true;
      lastChange = Clock::now();
    }
    if (pending && Clock::now() - lastChange >= kSettle) {
      pending = false;
      std::fflush(stdout);  // what changed, before the command's own output
      const Clock::time_point start = Clock::now();
      const int status = Run(command);
      const auto took = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
      std::printf("pulsar-watch: %s after %lld ms (exit status %d); watching\n", status == 0 ? "done" : "FAILED",
                  static_cast<long long>(took), status);
      std::fflush(stdout);
    }
    std::this_thread::sleep_for(kPoll);
  }
  return 0;
}
