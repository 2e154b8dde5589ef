#pragma once
// The real show as a child process: its own working directory and run-time directory, stderr
// kept in a file, optionally run as an unprivileged user (so a read-only directory is read-only
// even when the tests run as root).
#include <sys/types.h>

#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

struct ShowRun {
  std::filesystem::path program;
  std::vector<std::string> arguments;
  std::filesystem::path workingDirectory;
  std::filesystem::path runtimeDirectory;  // becomes XDG_RUNTIME_DIR
  std::filesystem::path errorFile;         // the show's stderr
  bool asNobody = false;
  std::vector<std::pair<std::string, std::string>> environment;  // set in the show's environment
};

// The user nobody runs as; 65534 on Debian.
constexpr uid_t kNobody = 65534;

class ShowProcess {
 public:
  ShowProcess() = default;
  ~ShowProcess();
  ShowProcess(const ShowProcess&) = delete;
  ShowProcess& operator=(const ShowProcess&) = delete;

  bool Start(const ShowRun& run);
  // Polls until condition holds (true) or the show has ended or the polls run out (false).
  bool WaitUntil(const std::function<bool()>& condition);
  // Polls until the show has ended; false when the polls run out with the show still running.
  bool WaitForEnd();
  void Signal(int signal);
  // The raw wait status once the show has ended.
  int Wait();
  // Processes still in the session the show led (it starts as a session leader), as
  // "pid name" lines; empty once everything it started has ended.
  std::vector<std::string> SessionSurvivors() const;
  std::string Errors() const;
  pid_t pid() const { return m_pid; }

 private:
  pid_t m_pid = -1;
  bool m_ended = false;
  int m_status = 0;
  std::filesystem::path m_errorFile;
};

// The build directory the show and its demo.dat were built in.
std::filesystem::path BinaryDirectory();

// How a wait status reads in a test failure: "exit 1", "signal 15".
std::string DescribeStatus(int status);
