// Stop signals in a process of their own (death tests re-run this program): while frames run the
// first signal only asks the loop to stop and the data stays for the orderly shutdown; a second
// one does not wait for it. (The end-to-end tests stop the real show with each signal.)
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <optional>

#include "app/PrivateDataDirectory.h"
#include "app/StopSignals.h"
#include "support/FileTree.h"
#include "support/ScopedEnvironment.h"

namespace fs = std::filesystem;
using ::testing::IsEmpty;

namespace {

// Inside the child: a data directory with some data, registered for removal by a signal.
std::string MakeRegisteredDataDirectory(PrivateDataDirectory* directory) {
  std::string error;
  const auto lock = LockDataDirectoryForSignals();
  if (!directory->Create(&error)) _exit(10);
  fs::create_directories(fs::path(directory->path()) / "engine_data" / "sub");
  WriteWholeFile(fs::path(directory->path()) / "engine_data" / "sub" / "music.mp3", "music");
  SetDirectoryRemovedBySignal(directory->path());
  return directory->path();
}

// Waits for the signal thread to end the process; exits with 20 when it never does.
[[noreturn]] void AwaitTheEnd() {
  for (int i = 0; i < 600; ++i) usleep(100000);
  _exit(20);
}

// The child re-runs everything up to the death statement, so the run-time directory must be the
// same in both: one named after the test, in the working directory.
class StopSignalsDeathTest : public ::testing::Test {
 protected:
  StopSignalsDeathTest() {
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    const ::testing::TestInfo* test = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string("runtime-") + test->test_suite_name() + "-" + test->name();
    std::replace(name.begin(), name.end(), '/', '-');
    m_runtime = fs::absolute(name);
    fs::remove_all(m_runtime);
    fs::create_directories(m_runtime);
    m_xdg.emplace("XDG_RUNTIME_DIR", m_runtime.c_str());
  }
  ~StopSignalsDeathTest() override {
    m_xdg.reset();
    fs::remove_all(m_runtime);
  }
  fs::path m_runtime;
  std::optional<ScopedEnvironment> m_xdg;
};

TEST_F(StopSignalsDeathTest, InTheFrameLoopTheFirstSignalAsksAndASecondDoesNotWait) {
  const int signal = SIGINT;
  EXPECT_EXIT(
      {
        InstallStopSignals();
        PrivateDataDirectory directory;
        const std::string path = MakeRegisteredDataDirectory(&directory);
        SetStopByFrameLoop(true);
        kill(getpid(), signal);
        for (int i = 0; i < 6000 && StopSignal() == 0; ++i) usleep(1000);
        if (StopSignal() != signal) _exit(30);
        if (!fs::exists(fs::path(path) / "engine_data" / "sub" / "music.mp3")) _exit(31);
        kill(getpid(), SIGTERM);
        AwaitTheEnd();
      },
      ::testing::KilledBySignal(SIGTERM), "");
  EXPECT_THAT(ListTree(m_runtime), IsEmpty());
}

}  // namespace
