// The installed show: `cmake --install` to a fresh prefix puts the program, its launcher module,
// the archive, a desktop entry and an icon in place, and that program plays from any directory,
// a read-only one too.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

#include "ShowProcess.h"
#include "support/FileTree.h"
#include "support/TempDirectory.h"

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

namespace {

TEST(InstallTest, TheInstalledShowPlaysFromAReadOnlyDirectoryElsewhere) {
  const char* binary = std::getenv("PULSAR_BINARY_DIR");
  ASSERT_NE(binary, nullptr);
  const fs::path build(binary);
  if (!fs::exists(build / "demo.dat")) GTEST_SKIP() << "no demo.dat built";

  TempDirectory sandbox;
  const fs::path prefix = sandbox.path() / "prefix";
  const std::string install = std::string(PULSAR_CMAKE_COMMAND) + " --install " + build.string() + " --prefix " +
                              prefix.string() + " > " + (sandbox.path() / "install.txt").string() + " 2>&1";
  ASSERT_EQ(std::system(install.c_str()), 0) << ReadWholeFile(sandbox.path() / "install.txt");

  EXPECT_TRUE(fs::is_regular_file(prefix / "bin" / "pulsar"));
  // The launcher's module in the library directory (lib, or its multiarch directory below).
  std::vector<std::string> modules;
  for (const auto& entry : fs::recursive_directory_iterator(prefix)) {
    if (entry.path().filename() == "pulsar-launcher.so") modules.push_back(fs::relative(entry.path(), prefix).string());
  }
  EXPECT_THAT(modules, ::testing::ElementsAre(::testing::MatchesRegex("lib/([a-z0-9_-]+/)?pulsar/pulsar-launcher\\.so")));
  EXPECT_EQ(ReadWholeFile(prefix / "share" / "pulsar" / "demo.dat"), ReadWholeFile(build / "demo.dat"));
  const std::string desktop = ReadWholeFile(prefix / "share" / "applications" / "pulsar.desktop");
  EXPECT_THAT(desktop, HasSubstr("\nExec=pulsar\n"));
  EXPECT_THAT(desktop, HasSubstr("\nIcon=pulsar\n"));
  EXPECT_THAT(ReadWholeFile(prefix / "share" / "icons" / "hicolor" / "scalable" / "apps" / "pulsar.svg"),
              HasSubstr("<svg"));

  // Somewhere with no demo.dat, read-only; as another user when root, for whom it really is.
  const fs::path work = sandbox.path() / "elsewhere";
  const fs::path runtime = sandbox.path() / "runtime";
  fs::create_directories(work);
  fs::create_directories(runtime);
  WriteWholeFile(work / "notes.txt", "mine");
  ShowRun run;
  run.program = prefix / "bin" / "pulsar";
  run.arguments = {"--headless", "--size", "64x36", "--clock", "fixed:20", "--end-at", "400"};
  run.workingDirectory = work;
  run.runtimeDirectory = runtime;
  run.errorFile = sandbox.path() / "stderr.txt";
  run.asNobody = geteuid() == 0;
  if (run.asNobody) {
    ASSERT_EQ(chown(runtime.c_str(), kNobody, kNobody), 0);
    fs::permissions(sandbox.path(), fs::perms(0755));
  }
  fs::permissions(work, fs::perms(0555));
  ShowProcess show;
  ASSERT_TRUE(show.Start(run));
  const int status = show.Wait();
  fs::permissions(work, fs::perms::owner_all, fs::perm_options::add);
  EXPECT_EQ(DescribeStatus(status), "exit 0") << show.Errors();
  EXPECT_THAT(ListTree(work), ::testing::ElementsAre("notes.txt"));
  EXPECT_THAT(ListTree(runtime), IsEmpty());
}

}  // namespace
