#include "ShowProcess.h"

#include <fcntl.h>
#include <grp.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "support/FileTree.h"

namespace {

constexpr int kMaxPolls = 6000;
constexpr useconds_t kPollMicroseconds = 20000;

}  // namespace

ShowProcess::~ShowProcess() {
  if (m_pid > 0 && !m_ended) {
    kill(m_pid, SIGKILL);
    waitpid(m_pid, &m_status, 0);
  }
}

bool ShowProcess::Start(const ShowRun& run) {
  m_errorFile = run.errorFile;
  const int errors = open(run.errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
  if (errors < 0) return false;
  std::vector<std::string> words = {run.program.string()};
  words.insert(words.end(), run.arguments.begin(), run.arguments.end());
  std::vector<char*> argv;
  for (std::string& word : words) argv.push_back(word.data());
  argv.push_back(nullptr);

  m_pid = fork();
  if (m_pid == 0) {
    dup2(errors, STDERR_FILENO);
    dup2(errors, STDOUT_FILENO);
    setsid();
    setenv("XDG_RUNTIME_DIR", run.runtimeDirectory.c_str(), 1);
    unsetenv("TMPDIR");
    for (const auto& [name, value] : run.environment) setenv(name.c_str(), value.c_str(), 1);
    if (chdir(run.workingDirectory.c_str()) != 0) _exit(120);
    if (run.asNobody && (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0)) _exit(121);
    execv(argv[0], argv.data());
    _exit(122);
  }
  close(errors);
  return m_pid > 0;
}

bool ShowProcess::WaitUntil(const std::function<bool()>& condition) {
  for (int i = 0; i < kMaxPolls; ++i) {
    if (condition()) return true;
    if (!m_ended && waitpid(m_pid, &m_status, WNOHANG) == m_pid) m_ended = true;
    if (m_ended) return condition();
    usleep(kPollMicroseconds);
  }
  return false;
}

bool ShowProcess::WaitForEnd() {
  return WaitUntil([this] { return m_ended; });
}

void ShowProcess::Signal(int signal) {
  if (!m_ended) kill(m_pid, signal);
}

int ShowProcess::Wait() {
  if (!m_ended) {
    waitpid(m_pid, &m_status, 0);
    m_ended = true;
  }
  return m_status;
}

std::vector<std::string> ShowProcess::SessionSurvivors() const {
  std::vector<std::string> survivors;
  std::error_code error;
  for (const auto& entry : std::filesystem::directory_iterator("/proc", error)) {
    const std::string pid = entry.path().filename().string();
    if (pid.find_first_not_of("0123456789") != std::string::npos) continue;
    std::ifstream file(entry.path() / "stat");
    std::string stat;
    if (!std::getline(file, stat)) continue;
    // pid (name) state ppid pgrp session ...; the name may hold spaces and parentheses.
    const size_t nameEnd = stat.rfind(')');
    if (nameEnd == std::string::npos) continue;
    std::istringstream fields(stat.substr(nameEnd + 1));
    std::string state;
    long parent = 0, group = 0, session = 0;
    fields >> state >> parent >> group >> session;
    if (session == m_pid && pid != std::to_string(m_pid)) {
      survivors.push_back(pid + " " + stat.substr(stat.find('(') + 1, nameEnd - stat.find('(') - 1));
    }
  }
  return survivors;
}

std::string ShowProcess::Errors() const { return ReadWholeFile(m_errorFile); }

std::filesystem::path BinaryDirectory() {
  const char* directory = std::getenv("PULSAR_BINARY_DIR");
  return directory ? std::filesystem::path(directory) : std::filesystem::current_path();
}

std::string DescribeStatus(int status) {
  if (WIFEXITED(status)) return "exit " + std::to_string(WEXITSTATUS(status));
  if (WIFSIGNALED(status)) return "signal " + std::to_string(WTERMSIG(status));
  return "status " + std::to_string(status);
}
