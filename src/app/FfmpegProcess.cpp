#include "app/FfmpegProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <string_view>

extern char** environ;

namespace {

// Descriptors the child side keeps until it execs: above the three standard ones and 3, so
// that moving them into place never overwrites one still to be moved.
constexpr int kFirstChildDescriptor = 10;

int MoveUp(int descriptor) {
  if (descriptor < 0) return -1;
  const int moved = fcntl(descriptor, F_DUPFD_CLOEXEC, kFirstChildDescriptor);
  close(descriptor);
  return moved;
}

void CloseDescriptor(int* descriptor) {
  if (*descriptor >= 0) close(*descriptor);
  *descriptor = -1;
}

// Room for a few frames in each pipe, so a writer rarely waits on a busy encoder.
constexpr int kPipeBytes = 1 << 20;

// One pipe whose read end the child gets and whose write end the show keeps.
bool MakeInput(int* childEnd, int* showEnd) {
  int ends[2] = {-1, -1};
  if (pipe2(ends, O_CLOEXEC) != 0) return false;
  *childEnd = MoveUp(ends[0]);
  *showEnd = ends[1];
  if (*childEnd < 0) {
    CloseDescriptor(showEnd);
    return false;
  }
  // Past the user's pipe limit the default size stays, which only costs speed.
  fcntl(*showEnd, F_SETPIPE_SZ, kPipeBytes);
  return true;
}

}  // namespace

FfmpegProcess::~FfmpegProcess() {
  Kill();
  Finish();
  CloseDescriptor(&m_output);
  CloseDescriptor(&m_messages);
}

std::string FfmpegProcess::FindOnPath(const std::string& program) {
  const char* path = std::getenv("PATH");
  std::string_view rest = path ? path : "/usr/local/bin:/usr/bin:/bin";
  while (true) {
    const size_t colon = rest.find(':');
    std::string directory(rest.substr(0, colon));
    if (directory.empty()) directory = ".";
    const std::string candidate = directory + "/" + program;
    struct stat info {};
    if (stat(candidate.c_str(), &info) == 0 && S_ISREG(info.st_mode) && access(candidate.c_str(), X_OK) == 0) {
      return candidate;
    }
    if (colon == std::string_view::npos) return "";
    rest.remove_prefix(colon + 1);
  }
}

bool FfmpegProcess::Start(const std::string& program, const std::vector<std::string>& arguments, std::string* error) {
  int videoOutput = -1;
  int audioOutput = -1;
  m_output = MoveUp(memfd_create("ffmpeg output", MFD_CLOEXEC));
  m_messages = MoveUp(memfd_create("ffmpeg messages", MFD_CLOEXEC));
  if (m_output < 0 || m_messages < 0 || !MakeInput(&videoOutput, &m_videoInput) ||
      !MakeInput(&audioOutput, &m_audioInput)) {
    *error = std::string("could not make its pipes: ") + std::strerror(errno);
    CloseDescriptor(&videoOutput);
    CloseInputs();
    return false;
  }

  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, videoOutput, STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, m_output, STDOUT_FILENO);
  posix_spawn_file_actions_adddup2(&actions, m_messages, STDERR_FILENO);
  posix_spawn_file_actions_adddup2(&actions, audioOutput, 3);
  posix_spawn_file_actions_addclosefrom_np(&actions, 4);

  // The show blocks its stop signals in every thread and ignores SIGPIPE; the encoder starts
  // with neither.
  posix_spawnattr_t attributes;
  posix_spawnattr_init(&attributes);
  sigset_t none;
  sigemptyset(&none);
  sigset_t all;
  sigfillset(&all);
  posix_spawnattr_setsigmask(&attributes, &none);
  posix_spawnattr_setsigdefault(&attributes, &all);
  posix_spawnattr_setpgroup(&attributes, 0);
  posix_spawnattr_setflags(&attributes, POSIX_SPAWN_SETSIGMASK | POSIX_SPAWN_SETSIGDEF | POSIX_SPAWN_SETPGROUP);

  std::vector<char*> argv;
  argv.push_back(const_cast<char*>(program.c_str()));
  for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
  argv.push_back(nullptr);
  const int result = posix_spawn(&m_pid, program.c_str(), &actions, &attributes, argv.data(), environ);
  posix_spawn_file_actions_destroy(&actions);
  posix_spawnattr_destroy(&attributes);
  close(videoOutput);
  close(audioOutput);
  if (result != 0) {
    m_pid = -1;
    *error = "could not start " + program + ": " + std::strerror(result);
    CloseInputs();
    return false;
  }
  return true;
}

bool FfmpegProcess::WriteAll(int descriptor, const uint8_t* data, size_t bytes) {
  if (descriptor < 0) return false;
  while (bytes > 0) {
    const ssize_t written = write(descriptor, data, bytes);
    if (written < 0) {
      if (errno == EINTR) continue;
      return false;  // EPIPE: the encoder has ended
    }
    data += written;
    bytes -= static_cast<size_t>(written);
  }
  return true;
}

void FfmpegProcess::CloseVideo() { CloseDescriptor(&m_videoInput); }

void FfmpegProcess::CloseAudio() { CloseDescriptor(&m_audioInput); }

void FfmpegProcess::CloseInputs() {
  CloseDescriptor(&m_videoInput);
  CloseDescriptor(&m_audioInput);
}

int FfmpegProcess::Finish() {
  CloseInputs();
  if (m_pid > 0) {
    int status = 0;
    while (waitpid(m_pid, &status, 0) < 0 && errno == EINTR) {
    }
    m_status = status;
    m_pid = -1;
  }
  return m_status;
}

void FfmpegProcess::Kill() {
  if (m_pid > 0) kill(m_pid, SIGKILL);
}

std::string FfmpegProcess::ReadAll(int descriptor) {
  std::string text;
  if (descriptor < 0) return text;
  char buffer[4096];
  off_t offset = 0;
  ssize_t got = 0;
  while ((got = pread(descriptor, buffer, sizeof(buffer), offset)) > 0) {
    text.append(buffer, static_cast<size_t>(got));
    offset += got;
  }
  return text;
}

std::string DescribeWaitStatus(int status) {
  if (WIFEXITED(status)) return "exit status " + std::to_string(WEXITSTATUS(status));
  if (WIFSIGNALED(status)) {
    const int signal = WTERMSIG(status);
    return "killed by signal " + std::to_string(signal) + " (" + strsignal(signal) + ")";
  }
  return "wait status " + std::to_string(status);
}
