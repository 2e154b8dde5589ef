// The real show, headless and tiny, run as a user would run it: it never writes into the working
// directory, keeps its data in a private directory that is gone after every way out, cleans up
// after a killed run (and nothing else), and says why it cannot start.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string_view>

#include "ShowProcess.h"
#include "support/ArchiveTestZip.h"
#include "support/FileTree.h"
#include "support/TempDirectory.h"

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

namespace {

// A show that ends by itself after a fraction of a second of show time.
const std::vector<std::string> kShortRun = {"--headless", "--size", "64x36", "--clock", "fixed:20", "--end-at", "400"};
// One that runs until it is stopped.
const std::vector<std::string> kLongRun = {"--headless", "--size", "64x36", "--clock", "fixed:1"};

class ShowRunTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!fs::exists(Archive())) GTEST_SKIP() << "no demo.dat built";
    fs::create_directory(Runtime());
    fs::create_directory(Work());
  }
  fs::path Archive() const { return BinaryDirectory() / "demo.dat"; }
  fs::path Runtime() const { return m_sandbox.path() / "runtime"; }
  fs::path Work() const { return m_sandbox.path() / "work"; }

  ShowRun Run(std::vector<std::string> arguments) const {
    ShowRun run;
    run.program = BinaryDirectory() / "pulsar";
    run.arguments = std::move(arguments);
    run.workingDirectory = Work();
    run.runtimeDirectory = Runtime();
    run.errorFile = m_sandbox.path() / "stderr.txt";
    return run;
  }
  // Root reads and writes anywhere; permissions mean something only to another user.
  void AsAnotherUserWhenRoot(ShowRun* run) {
    run->asNobody = geteuid() == 0;
    if (!run->asNobody) return;
    ASSERT_EQ(chown(Runtime().c_str(), kNobody, kNobody), 0);
    fs::permissions(m_sandbox.path(), fs::perms(0755));
  }
  // Runs the show to its end; returns the wait status.
  int RunToEnd(const ShowRun& run) {
    ShowProcess show;
    EXPECT_TRUE(show.Start(run));
    const int status = show.Wait();
    m_errors = show.Errors();
    EXPECT_THAT(show.SessionSurvivors(), IsEmpty()) << "left running by the show";
    return status;
  }
  // The private directories in the run-time directory.
  std::vector<std::string> PrivateDirectories() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(Runtime())) names.push_back(entry.path().filename().string());
    return names;
  }
  bool DataUnpacked() const {
    for (const std::string& name : PrivateDirectories()) {
      if (fs::exists(Runtime() / name / "engine_data" / "music.mp3")) return true;
    }
    return false;
  }

  TempDirectory m_sandbox;
  std::string m_errors;
};

TEST_F(ShowRunTest, TheWorkingDirectoryStaysByteForByteAsItWas) {
  fs::copy_file(Archive(), Work() / "demo.dat");
  const auto before = SnapshotTree(Work());
  const int status = RunToEnd(Run(kShortRun));
  EXPECT_EQ(DescribeStatus(status), "exit 0") << m_errors;
  EXPECT_EQ(SnapshotTree(Work()), before);
  EXPECT_THAT(PrivateDirectories(), IsEmpty());

  // With the user's own engine_data beside demo.dat, and the directory read-only.
  fs::create_directories(Work() / "engine_data" / "my_thesis");
  WriteWholeFile(Work() / "engine_data" / "my_thesis" / "chapter1.tex", "\\chapter{Pulsars}\n");
  WriteWholeFile(Work() / "engine_data" / "music.mp3", "the user's own music");
  const auto withUsersData = SnapshotTree(Work());
  ShowRun readOnly = Run(kShortRun);
  AsAnotherUserWhenRoot(&readOnly);
  fs::permissions(Work(), fs::perms(0555));
  fs::permissions(Work() / "engine_data", fs::perms(0555));
  const int readOnlyStatus = RunToEnd(readOnly);
  fs::permissions(Work(), fs::perms::owner_all, fs::perm_options::add);
  fs::permissions(Work() / "engine_data", fs::perms::owner_all, fs::perm_options::add);
  EXPECT_EQ(DescribeStatus(readOnlyStatus), "exit 0") << m_errors;
  EXPECT_EQ(SnapshotTree(Work()), withUsersData);
  EXPECT_THAT(PrivateDirectories(), IsEmpty());
}

// Each stop signal, once while the show is still loading (the data just unpacked) and once while
// frames run (the capture has written one); either way the data goes and the process ends by
// the signal.
class ShowSignalTest : public ShowRunTest, public ::testing::WithParamInterface<int> {};

TEST_P(ShowSignalTest, ThePrivateDirectoryIsGoneAfterTheSignal) {
  const int signal = GetParam();
  for (const bool framesRunning : {false, true}) {
    SCOPED_TRACE(framesRunning ? "while frames run" : "while loading");
    const fs::path frames = m_sandbox.path() / "frames";
    fs::remove_all(frames);
    std::vector<std::string> arguments = kLongRun;
    if (framesRunning) arguments.insert(arguments.end(), {"--capture", frames.string()});
    ShowRun run = Run(arguments);
    run.arguments.insert(run.arguments.end(), {"--data", Archive().string()});
    ShowProcess show;
    ASSERT_TRUE(show.Start(run));
    ASSERT_TRUE(show.WaitUntil([&] { return DataUnpacked(); })) << show.Errors();
    if (framesRunning) {
      ASSERT_TRUE(show.WaitUntil([&] { return fs::exists(frames / "frame_00001.png"); })) << show.Errors();
    }
    EXPECT_THAT(PrivateDirectories(), ElementsAre(::testing::StartsWith("pulsar-data-")));
    show.Signal(signal);
    const int status = show.Wait();
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << DescribeStatus(status) << show.Errors();
    EXPECT_THAT(PrivateDirectories(), IsEmpty());
    EXPECT_THAT(show.SessionSurvivors(), IsEmpty()) << "left running by the show";
  }
  EXPECT_THAT(ListTree(Work()), IsEmpty());
}

INSTANTIATE_TEST_SUITE_P(EachStopSignal, ShowSignalTest, ::testing::Values(SIGINT, SIGTERM, SIGHUP, SIGQUIT),
                         [](const ::testing::TestParamInfo<int>& info) {
                           return std::string(sigabbrev_np(info.param));
                         });

TEST_F(ShowRunTest, AKilledRunsDirectoryIsRemovedAtTheNextStartAndNothingElse) {
  ShowRun run = Run(kLongRun);
  run.arguments.insert(run.arguments.end(), {"--data", Archive().string()});
  {
    ShowProcess killed;
    ASSERT_TRUE(killed.Start(run));
    ASSERT_TRUE(killed.WaitUntil([&] { return DataUnpacked(); })) << killed.Errors();
    killed.Signal(SIGKILL);
    killed.Wait();
  }
  const std::vector<std::string> leftOver = PrivateDirectories();
  ASSERT_EQ(leftOver.size(), 1u);

  // Look-alikes: one of a live process (this test), one whose name is not the show's.
  const auto plant = [&](const std::string& name, pid_t pid) {
    fs::create_directories(Runtime() / name / "engine_data");
    WriteWholeFile(Runtime() / name / "pulsar.lock", std::to_string(pid) + "\n");
  };
  plant("pulsar-data-alive1", getpid());
  const pid_t killedPid = std::atoi(ReadWholeFile(Runtime() / leftOver[0] / "pulsar.lock").c_str());
  ASSERT_GT(killedPid, 0);
  plant("pulsar-killed-data", killedPid);

  ShowRun next = Run(kShortRun);
  next.arguments.insert(next.arguments.end(), {"--data", Archive().string()});
  const int status = RunToEnd(next);
  EXPECT_EQ(DescribeStatus(status), "exit 0") << m_errors;
  EXPECT_THAT(PrivateDirectories(), ::testing::UnorderedElementsAre("pulsar-data-alive1", "pulsar-killed-data"));
}

TEST_F(ShowRunTest, AnArchiveThatIsMissingUnreadableOrNoZipEndsWithStatusOneAndTheReason) {
  const fs::path missing = Work() / "nowhere.dat";
  const int missingStatus = RunToEnd(Run({"--headless", "--size", "64x36", "--data", missing.string()}));
  EXPECT_EQ(DescribeStatus(missingStatus), "exit 1");
  EXPECT_THAT(m_errors, HasSubstr("[Error] The show cannot start: " + missing.string() + ": No such file or directory"));

  fs::copy_file(Archive(), Work() / "demo.dat");
  fs::permissions(Work() / "demo.dat", fs::perms::none);
  ShowRun unreadable = Run({"--headless", "--size", "64x36"});
  AsAnotherUserWhenRoot(&unreadable);
  const int unreadableStatus = RunToEnd(unreadable);
  EXPECT_EQ(DescribeStatus(unreadableStatus), "exit 1");
  EXPECT_THAT(m_errors, HasSubstr("[Error] The show cannot start: demo.dat: Permission denied"));
  fs::remove(Work() / "demo.dat");

  WriteWholeFile(Work() / "demo.dat", std::string(4096, 'G'));
  const int garbageStatus = RunToEnd(Run({"--headless", "--size", "64x36"}));
  EXPECT_EQ(DescribeStatus(garbageStatus), "exit 1");
  EXPECT_THAT(m_errors, HasSubstr("[Error] The show cannot start: demo.dat: not a zip archive"));
  // Said before anything looked for a shader.
  EXPECT_THAT(m_errors, ::testing::Not(HasSubstr("shader")));
  EXPECT_THAT(PrivateDirectories(), IsEmpty());
  EXPECT_THAT(ListTree(Work()), ElementsAre("demo.dat"));
}

// A file of the user's under an output's name ends the start with status 1 before anything is
// unpacked, and stays as it was; a picture an earlier run saved there is simply replaced.
TEST_F(ShowRunTest, AnOutputNeverReplacesAFileTheShowDidNotWrite) {
  const fs::path theirs = Work() / "holiday.png";
  WriteWholeFile(theirs, "the user's own picture");
  std::vector<std::string> arguments = kShortRun;
  arguments.insert(arguments.end(), {"--screenshot", theirs.string()});
  EXPECT_EQ(DescribeStatus(RunToEnd(Run(arguments))), "exit 1");
  EXPECT_THAT(m_errors, HasSubstr("--screenshot: " + theirs.string() + " is already there and was not written by Pulsar"));
  EXPECT_EQ(ReadWholeFile(theirs), "the user's own picture");
  EXPECT_FALSE(DataUnpacked());
  EXPECT_THAT(PrivateDirectories(), IsEmpty());

  arguments = kShortRun;
  arguments.insert(arguments.end(), {"--screenshot", (Work() / "shot.png").string()});
  for (int run = 0; run < 2; ++run) EXPECT_EQ(DescribeStatus(RunToEnd(Run(arguments))), "exit 0") << m_errors;
  EXPECT_TRUE(fs::is_regular_file(Work() / "shot.png"));
}

// Where the kernel gives huge pages only on request, the show starts itself once more asking
// glibc for them: same process, same name and arguments, the user's own tunables kept, and left
// alone where they already say either way.
TEST_F(ShowRunTest, TheShowAsksForHugePagesOnceAndKeepsItsNameArgumentsAndTheUsersTunables) {
  if (ReadWholeFile("/sys/kernel/mm/transparent_hugepage/enabled").find("[madvise]") == std::string::npos) {
    GTEST_SKIP() << "this kernel does not grant huge pages on request";
  }
  // Entries one per line; glibc may split its tunables in place, so colons count as breaks too.
  const auto procLines = [](pid_t pid, const char* name) {
    std::string text = ReadWholeFile(fs::path("/proc") / std::to_string(pid) / name);
    std::replace(text.begin(), text.end(), '\0', '\n');
    if (std::string_view(name) == "environ") std::replace(text.begin(), text.end(), ':', '\n');
    return text;
  };
  const auto hugeKilobytes = [](pid_t pid) {
    const std::string rollup = ReadWholeFile(fs::path("/proc") / std::to_string(pid) / "smaps_rollup");
    const size_t at = rollup.find("AnonHugePages:");
    return at == std::string::npos ? 0L : std::atol(rollup.c_str() + at + 14);
  };
  for (const bool usersChoice : {false, true}) {
    const std::string tunables = usersChoice ? "glibc.malloc.hugetlb=0" : "glibc.malloc.arena_max=4";
    SCOPED_TRACE(tunables);
    ShowRun run = Run(kLongRun);
    run.arguments.insert(run.arguments.end(), {"--data", Archive().string()});
    run.environment = {{"GLIBC_TUNABLES", tunables}};
    ShowProcess show;
    ASSERT_TRUE(show.Start(run));
    ASSERT_TRUE(show.WaitUntil([&] { return DataUnpacked(); })) << show.Errors();
    EXPECT_EQ(procLines(show.pid(), "comm"), "pulsar\n");
    EXPECT_EQ(procLines(show.pid(), "cmdline"), (BinaryDirectory() / "pulsar").string() +
                                                    "\n--headless\n--size\n64x36\n--clock\nfixed:1\n--data\n" +
                                                    Archive().string() + "\n");
    const std::string environment = procLines(show.pid(), "environ");
    if (usersChoice) {
      EXPECT_THAT(environment, HasSubstr("\nGLIBC_TUNABLES=glibc.malloc.hugetlb=0\n"));
    } else {
      EXPECT_THAT(environment, HasSubstr("\nGLIBC_TUNABLES=glibc.malloc.arena_max=4\nglibc.malloc.hugetlb=1\n"));
      // And the allocator acts on it: the textures and meshes come on huge pages.
      EXPECT_TRUE(show.WaitUntil([&] { return hugeKilobytes(show.pid()) > 0; })) << show.Errors();
    }
    show.Signal(SIGTERM);
    const int status = show.Wait();
    EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == SIGTERM) << DescribeStatus(status) << show.Errors();
    EXPECT_THAT(PrivateDirectories(), IsEmpty());
  }
}

// An archive that unpacks but lacks what the show loads: the loader's own message, status 1,
// and the unpacked data gone.
TEST_F(ShowRunTest, AShowThatFailsAfterUnpackingEndsWithStatusOneAndLeavesNoData) {
  WriteTestZip(Work() / "demo.dat", {TestFile("engine_data/readme.txt", "no shaders in here")});
  const int status = RunToEnd(Run(kShortRun));
  EXPECT_EQ(DescribeStatus(status), "exit 1") << m_errors;
  EXPECT_THAT(m_errors, HasSubstr("engine_data/"));
  EXPECT_THAT(PrivateDirectories(), IsEmpty());
  EXPECT_THAT(ListTree(Work()), ElementsAre("demo.dat"));
}

}  // namespace
