#pragma once
// The encoder (or its prober) as a child process with two inputs: the pictures on its standard
// input and the sound on descriptor 3 ("pipe:0" and "pipe:3"). Its output and messages go to
// memory, not the terminal, so they can be read and a failure explained afterwards. It runs in
// a process group of its own: a Ctrl-C reaches the show, which then decides what becomes of the
// encoder.
#include <sys/types.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class FfmpegProcess {
 public:
  FfmpegProcess() = default;
  ~FfmpegProcess();
  FfmpegProcess(const FfmpegProcess&) = delete;
  FfmpegProcess& operator=(const FfmpegProcess&) = delete;

  // The executable file of that name on PATH; "" when there is none.
  static std::string FindOnPath(const std::string& program);

  // Starts the program (a path) with the arguments (without the program's own name). False,
  // with the reason in error, when it could not be started.
  bool Start(const std::string& program, const std::vector<std::string>& arguments, std::string* error);

  // Write the whole buffer to one input, waiting while the program is busy. Each input needs a
  // thread of its own: ffmpeg reads them in whatever order it likes, and a writer blocked on
  // one would leave it waiting forever on the other. False once the program stopped reading.
  bool WriteVideo(const uint8_t* data, size_t bytes) { return WriteAll(m_videoInput, data, bytes); }
  bool WriteAudio(const uint8_t* data, size_t bytes) { return WriteAll(m_audioInput, data, bytes); }
  // The end of the pictures, and of the sound: ffmpeg may read either to its end before it
  // looks at the other again. Each is called by the input's own writer or after it stopped.
  void CloseVideo();
  void CloseAudio();

  // Closes both inputs and waits for the program to end; returns its wait status.
  int Finish();
  // Ends the program at once (SIGKILL); writers blocked on it then fail. Finish reaps it.
  void Kill();

  // What it printed on its standard output and its standard error.
  std::string Output() const { return ReadAll(m_output); }
  std::string Messages() const { return ReadAll(m_messages); }
  pid_t pid() const { return m_pid; }

 private:
  void CloseInputs();
  static bool WriteAll(int descriptor, const uint8_t* data, size_t bytes);
  static std::string ReadAll(int descriptor);

  pid_t m_pid = -1;
  int m_videoInput = -1;
  int m_audioInput = -1;
  int m_output = -1;
  int m_messages = -1;
  int m_status = 0;
};

// How a wait status reads in a message: "exit status 1", "killed by signal 9 (Killed)".
std::string DescribeWaitStatus(int status);
