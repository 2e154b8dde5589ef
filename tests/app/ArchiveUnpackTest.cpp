// Unpacking archives the tests write themselves: names that try to climb out, planted links,
// attributes and times, repeated and broken archives and the reasons they are reported with.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <csignal>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <optional>

#include "support/ArchiveTestZip.h"
#include "app/ArchiveReader.h"
#include "app/ArchiveUnpacker.h"
#include "platform/fs.h"
#include "support/ScopedEnvironment.h"
#include "support/TempDirectory.h"

namespace fs = std::filesystem;
using ::testing::ElementsAre;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

namespace {

// A sandbox with the working directory one level down, so anything that escapes it shows up
// beside it.
class ArchiveUnpackTest : public ::testing::Test {
 protected:
  ArchiveUnpackTest() : m_work(m_sandbox.path() / "work"), m_outside(m_sandbox.path() / "outside") {
    fs::create_directory(m_work);
    fs::create_directory(m_outside);
    WriteWholeFile(m_outside / "victim.txt", "keep");
    m_previous = fs::current_path();
    fs::current_path(m_work);
  }
  ~ArchiveUnpackTest() override { fs::current_path(m_previous); }

  void Unpack(const std::vector<TestZipEntry>& entries) {
    WriteTestZip(m_work / "demo.dat", entries);
    UnpackDemo();
  }
  // Unpacks demo.dat into the working directory; the reason of a failure lands in m_error.
  bool UnpackDemo(uint64_t byteLimit = kMaxUnpackedBytes) {
    m_error.clear();
    return UnpackArchive("demo.dat", "", &m_error, byteLimit);
  }
  // Everything below the working directory except the archive.
  std::vector<std::string> Unpacked() {
    std::vector<std::string> paths = ListTree(m_work);
    std::erase(paths, "demo.dat");
    return paths;
  }
  void ExpectOutsideUntouched() {
    EXPECT_THAT(ListTree(m_sandbox.path()), ::testing::IsSupersetOf({"outside/", "outside/victim.txt"}));
    EXPECT_THAT(ListTree(m_outside), ElementsAre("victim.txt"));
    EXPECT_EQ(ReadWholeFile(m_outside / "victim.txt"), "keep");
    for (const std::string& path : ListTree(m_sandbox.path())) {
      EXPECT_TRUE(path.starts_with("work/") || path == "work/" || path.starts_with("outside")) << path;
    }
  }

  TempDirectory m_sandbox;
  fs::path m_work;
  fs::path m_outside;
  fs::path m_previous;
  std::string m_error;
};

TEST_F(ArchiveUnpackTest, NestedFilesGetTheirDirectoriesEvenWithoutDirectoryEntries) {
  Unpack({TestFile("engine_data/textures/a.png", "png bytes"), TestFile("engine_data/music.mp3", "mp3")});
  EXPECT_THAT(Unpacked(), ElementsAre("engine_data/", "engine_data/music.mp3", "engine_data/textures/",
                                      "engine_data/textures/a.png"));
  EXPECT_EQ(ReadWholeFile("engine_data/textures/a.png"), "png bytes");
}

TEST_F(ArchiveUnpackTest, LargeEntriesArriveWhole) {
  std::string data(100000, '\0');
  for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>((i * 7919) >> 3);
  Unpack({TestDirectory("engine_data/"), TestFile("engine_data/big.bin", data), TestFile("engine_data/empty", "")});
  EXPECT_EQ(ReadWholeFile("engine_data/big.bin"), data);
  EXPECT_TRUE(fs::is_regular_file("engine_data/empty"));
  EXPECT_EQ(fs::file_size("engine_data/empty"), 0u);
}

TEST_F(ArchiveUnpackTest, ClimbingAndAbsoluteNamesNeverLeaveTheWorkingDirectory) {
  Unpack({TestFile("../../x.txt", "x"), TestFile("D:\\data\\y.bin", "y"), TestFile("../x", "escaped"),
          TestFile("/etc/x", "etc"), TestFile("a/../../b", "escaped"), TestFile("..", "escaped"),
          TestFile("engine_data/..", "escaped"), TestFile("C:..\\..\\z", "z"), TestFile("\\\\server\\share\\w", "w"),
          TestDirectory("../up/")});
  EXPECT_THAT(Unpacked(), ElementsAre("data/", "data/y.bin", "etc/", "etc/x", "server/", "server/share/",
                                      "server/share/w", "x.txt", "z"));
  EXPECT_EQ(ReadWholeFile("x.txt"), "x");
  EXPECT_EQ(ReadWholeFile("data/y.bin"), "y");
  ExpectOutsideUntouched();
}

TEST_F(ArchiveUnpackTest, PlantedLinksAreReplacedNeverWrittenThrough) {
  fs::create_directory("engine_data");
  fs::create_symlink(m_outside / "victim.txt", "engine_data/a.txt");
  fs::create_directory_symlink(m_outside, "engine_data/sub");
  Unpack({TestFile("engine_data/a.txt", "new a"), TestFile("engine_data/sub/b.txt", "new b")});

  ExpectOutsideUntouched();
  EXPECT_FALSE(fs::is_symlink("engine_data/a.txt"));
  EXPECT_EQ(ReadWholeFile("engine_data/a.txt"), "new a");
  EXPECT_FALSE(fs::is_symlink("engine_data/sub"));
  EXPECT_EQ(ReadWholeFile("engine_data/sub/b.txt"), "new b");
}

TEST_F(ArchiveUnpackTest, LinkInPlaceOfTheDataDirectoryIsNotEntered) {
  fs::create_directory_symlink(m_outside, "engine_data");
  Unpack({TestFile("engine_data/victim.txt", "overwritten")});
  ExpectOutsideUntouched();
  EXPECT_EQ(ReadWholeFile("engine_data/victim.txt"), "overwritten");

  fs::remove_all("engine_data");
  fs::create_directory_symlink(m_outside, "engine_data");
  platform::DeleteTree("engine_data");
  EXPECT_FALSE(fs::exists(fs::symlink_status("engine_data")));
  ExpectOutsideUntouched();
}

TEST_F(ArchiveUnpackTest, ReadOnlyDosEntryIsCreatedReadOnlyAndStillDeletedAtShutdown) {
  TestZipEntry readOnly = TestFile("engine_data/locked/ro.txt", "read only");
  readOnly.versionMadeBy = 20;  // DOS host
  readOnly.externalAttributes = 0x21;
  TestZipEntry unixReadOnly = TestFile("engine_data/unix_ro.txt", "unix");
  unixReadOnly.externalAttributes = 0100444u << 16;
  Unpack({readOnly, unixReadOnly, TestFile("engine_data/rw.txt", "rw")});

  EXPECT_EQ(fs::status("engine_data/locked/ro.txt").permissions() & fs::perms::all, fs::perms(0444));
  EXPECT_EQ(fs::status("engine_data/unix_ro.txt").permissions() & fs::perms::all, fs::perms(0444));
  EXPECT_NE(fs::status("engine_data/rw.txt").permissions() & fs::perms::owner_write, fs::perms::none);
  EXPECT_EQ(ReadWholeFile("engine_data/locked/ro.txt"), "read only");

  fs::permissions("engine_data/locked", fs::perms(0555));
  EXPECT_TRUE(platform::DeleteTree("engine_data"));
  EXPECT_THAT(Unpacked(), IsEmpty());
  EXPECT_TRUE(platform::DeleteTree("engine_data"));  // a missing directory is no error
}

TEST_F(ArchiveUnpackTest, UnpackingTwiceReplacesEveryFile) {
  TestZipEntry readOnly = TestFile("engine_data/ro.txt", "first ro");
  readOnly.externalAttributes = 0100444u << 16;
  Unpack({TestFile("engine_data/a.txt", "first a, longer"), readOnly});
  readOnly.data = "second ro";
  Unpack({TestFile("engine_data/a.txt", "second a"), readOnly});
  EXPECT_EQ(ReadWholeFile("engine_data/a.txt"), "second a");
  EXPECT_EQ(ReadWholeFile("engine_data/ro.txt"), "second ro");
}

class ScopedTimeZone {
 public:
  explicit ScopedTimeZone(const char* zone) {
    m_zone.emplace("TZ", zone);
    tzset();
  }
  ~ScopedTimeZone() {
    m_zone.reset();
    tzset();
  }

 private:
  std::optional<ScopedEnvironment> m_zone;
};

struct stat StatOf(const char* path) {
  struct stat info {};
  EXPECT_EQ(stat(path, &info), 0) << path;
  return info;
}

TEST_F(ArchiveUnpackTest, DosTimesAreLocalTimeAndExtendedTimestampsOverrideThem) {
  ScopedTimeZone zone("CET-1CEST,M3.5.0,M10.5.0/3");
  TestZipEntry summer = TestFile("summer.txt", "s");
  summer.dosDateTime = DosDateTime(2020, 6, 15, 12, 34, 56);  // CEST, UTC+2
  TestZipEntry winter = TestFile("winter.txt", "w");
  winter.dosDateTime = DosDateTime(2021, 1, 10, 8, 0, 0);  // CET, UTC+1
  TestZipEntry stamped = TestFile("stamped.txt", "t");
  stamped.extra = ExtendedTimestampBlock(0x03, {1500000000, 1600000000});
  TestZipEntry centralOnlyMtime = TestFile("mtime_only.txt", "m");
  centralOnlyMtime.extra = ExtendedTimestampBlock(0x07, {1400000000});  // flags promise more than follows
  Unpack({summer, winter, stamped, centralOnlyMtime});

  EXPECT_EQ(StatOf("summer.txt").st_mtime, 1592217296);  // 2020-06-15 10:34:56 UTC
  EXPECT_EQ(StatOf("summer.txt").st_atime, 1592217296);
  EXPECT_EQ(StatOf("winter.txt").st_mtime, 1610262000);  // 2021-01-10 07:00:00 UTC
  EXPECT_EQ(StatOf("stamped.txt").st_mtime, 1500000000);
  EXPECT_EQ(StatOf("stamped.txt").st_atime, 1600000000);
  EXPECT_EQ(StatOf("mtime_only.txt").st_mtime, 1400000000);
  EXPECT_EQ(StatOf("mtime_only.txt").st_atime, 1577833200);  // the DOS time, 2020-01-01 00:00 CET
}

TEST_F(ArchiveUnpackTest, BrokenOrMissingArchivesUnpackNothingAndSayWhy) {
  EXPECT_FALSE(UnpackDemo());
  EXPECT_EQ(m_error, "demo.dat: No such file or directory");
  EXPECT_THAT(Unpacked(), IsEmpty());

  fs::create_directory("demo.dat");
  EXPECT_FALSE(UnpackDemo());
  EXPECT_EQ(m_error, "demo.dat: Is a directory");
  fs::remove("demo.dat");

  WriteWholeFile("demo.dat", "this is not a zip archive at all, just text");
  EXPECT_FALSE(UnpackDemo());
  EXPECT_THAT(m_error, HasSubstr("demo.dat: not a zip archive"));
  EXPECT_THAT(Unpacked(), IsEmpty());

  WriteTestZip("full.zip", {TestFile("engine_data/a.txt", std::string(5000, 'a')), TestFile("engine_data/b.txt", "b")});
  const std::string whole = ReadWholeFile("full.zip");
  fs::remove("full.zip");
  for (const size_t length : {size_t{0}, size_t{30}, whole.size() / 2, whole.size() - 10}) {
    WriteWholeFile("demo.dat", whole.substr(0, length));
    EXPECT_FALSE(UnpackDemo());
    EXPECT_THAT(m_error, ::testing::StartsWith("demo.dat: ")) << "archive cut at " << length;
    EXPECT_THAT(Unpacked(), IsEmpty()) << "archive cut at " << length;
  }
}

TEST_F(ArchiveUnpackTest, ADirectoryThatClaimsMoreEntriesThanItHoldsUnpacksWhatItHasAndSaysWhereItEnds) {
  WriteTestZip("demo.dat", {TestFile("engine_data/a.txt", "a"), TestFile("engine_data/b.txt", "b")});
  std::string bytes = ReadWholeFile("demo.dat");
  const size_t end = bytes.rfind(std::string("PK\x05\x06", 4));
  ASSERT_NE(end, std::string::npos);
  // Entries on this disk and in all: 65535 each, the most the record can claim.
  for (const size_t field : {end + 8, end + 10}) bytes[field] = bytes[field + 1] = static_cast<char>(0xFF);
  WriteWholeFile("demo.dat", bytes);
  EXPECT_FALSE(UnpackDemo());
  EXPECT_EQ(m_error, "demo.dat: could not unpack entry 2: damaged zip directory");
  EXPECT_EQ(ReadWholeFile("engine_data/a.txt"), "a");
  EXPECT_EQ(ReadWholeFile("engine_data/b.txt"), "b");

  // With a damaged entry before the end as well, that entry is told first, as in order.
  TestZipEntry stored = TestFile("engine_data/s.txt", "stored plainly");
  stored.stored = true;
  WriteTestZip("demo.dat", {stored, TestFile("engine_data/b.txt", "b")});
  bytes = ReadWholeFile("demo.dat");
  bytes[bytes.find("plainly")] = 'P';
  const size_t cutEnd = bytes.rfind(std::string("PK\x05\x06", 4));
  for (const size_t field : {cutEnd + 8, cutEnd + 10}) bytes[field] = bytes[field + 1] = static_cast<char>(0xFF);
  WriteWholeFile("demo.dat", bytes);
  EXPECT_FALSE(UnpackDemo());
  EXPECT_EQ(m_error, "demo.dat: could not unpack engine_data/s.txt: checksum mismatch, the data is damaged");
}

TEST_F(ArchiveUnpackTest, DamagedEntryDataStopsThatEntryOnlyAndFailsTheUnpacking) {
  WriteTestZip("demo.dat", {TestFile("engine_data/a.txt", std::string(20000, 'a')), TestFile("engine_data/b.txt", "b")});
  std::string bytes = ReadWholeFile("demo.dat");
  // Scramble the deflate stream of the first entry; its headers stay intact.
  for (size_t i = 50; i < 60; ++i) bytes[i] = static_cast<char>(0xFF);
  WriteWholeFile("demo.dat", bytes);
  EXPECT_FALSE(UnpackDemo());
  EXPECT_THAT(m_error, HasSubstr("demo.dat: could not unpack engine_data/a.txt: damaged"));
  EXPECT_LT(fs::file_size("engine_data/a.txt"), 20000u);
  EXPECT_EQ(ReadWholeFile("engine_data/b.txt"), "b");
}

TEST_F(ArchiveUnpackTest, StoredDataWithAWrongChecksumIsReported) {
  TestZipEntry stored = TestFile("engine_data/s.txt", "stored plainly, checked only by its checksum");
  stored.stored = true;
  WriteTestZip("demo.dat", {stored});
  std::string bytes = ReadWholeFile("demo.dat");
  const size_t at = bytes.find("plainly");
  ASSERT_NE(at, std::string::npos);
  bytes[at] = 'P';
  WriteWholeFile("demo.dat", bytes);
  EXPECT_FALSE(UnpackDemo());
  EXPECT_THAT(m_error, HasSubstr("engine_data/s.txt: checksum mismatch"));
}

TEST_F(ArchiveUnpackTest, EncryptedEntriesAreNeverWrittenAsGarbage) {
  TestZipEntry secret = TestFile("engine_data/secret.txt", "the plain text");
  secret.password = "pulsar";
  Unpack({secret, TestFile("engine_data/open.txt", "open")});
  EXPECT_THAT(m_error, HasSubstr("engine_data/secret.txt: encrypted"));
  EXPECT_EQ(ReadWholeFile("engine_data/secret.txt"), "");
  EXPECT_EQ(ReadWholeFile("engine_data/open.txt"), "open");
}

// The show's archive is unpacked by two readers side by side; what they report and write is what
// one reader in archive order would.
TEST_F(ArchiveUnpackTest, SideBySideUnpackingTellsTheEarliestDamageAndWritesEverythingElse) {
  const auto stored = [](std::string name, std::string data) {
    TestZipEntry entry = TestFile(std::move(name), std::move(data));
    entry.stored = true;
    return entry;
  };
  // Sizes that send the earlier damaged entry to the second reader, the later one to the first.
  WriteTestZip("demo.dat", {stored("engine_data/big0", std::string(50000, '0')),
                            stored("engine_data/a.txt", "MARKA" + std::string(30000, 'a')),
                            stored("engine_data/big2", std::string(40000, '2')),
                            stored("engine_data/b.txt", "MARKB" + std::string(20000, 'b')),
                            TestFile("engine_data/c.txt", "c")});
  std::string bytes = ReadWholeFile("demo.dat");
  for (const char* marker : {"MARKA", "MARKB"}) {
    const size_t at = bytes.find(marker);
    ASSERT_NE(at, std::string::npos);
    bytes[at] = 'X';
  }
  WriteWholeFile("demo.dat", bytes);
  EXPECT_FALSE(UnpackDemo());
  EXPECT_THAT(m_error, HasSubstr("demo.dat: could not unpack engine_data/a.txt: checksum mismatch"));
  EXPECT_EQ(ReadWholeFile("engine_data/big0"), std::string(50000, '0'));
  EXPECT_EQ(ReadWholeFile("engine_data/big2"), std::string(40000, '2'));
  EXPECT_EQ(ReadWholeFile("engine_data/c.txt"), "c");
}

// A name given twice, or a file where another entry needs a directory: in order, the later
// entry wins or fails, as it always did.
TEST_F(ArchiveUnpackTest, ClashingNamesUnpackInArchiveOrder) {
  Unpack({TestFile("engine_data/same.txt", "earlier"), TestFile("engine_data/filler", std::string(30000, 'f')),
          TestFile("engine_data/same.txt", "later")});
  EXPECT_EQ(m_error, "");
  EXPECT_EQ(ReadWholeFile("engine_data/same.txt"), "later");

  Unpack({TestFile("engine_data/x", "a file"), TestFile("engine_data/filler", std::string(30000, 'f')),
          TestFile("engine_data/x/y", "below a file")});
  EXPECT_THAT(m_error, HasSubstr("could not unpack engine_data/x: "));
  EXPECT_EQ(ReadWholeFile("engine_data/x"), "a file");
}

TEST_F(ArchiveUnpackTest, UnpackingStopsAtTheByteLimit) {
  WriteTestZip("demo.dat", {TestFile("engine_data/1", std::string(100, '1')), TestFile("engine_data/2", std::string(100, '2')),
                            TestFile("engine_data/3", std::string(100, '3')), TestFile("engine_data/4", "4")});
  EXPECT_FALSE(UnpackDemo(250));
  EXPECT_THAT(m_error, HasSubstr("engine_data/3: the archive unpacks to more than is allowed"));
  EXPECT_THAT(Unpacked(), ElementsAre("engine_data/", "engine_data/1", "engine_data/2"));
}

TEST_F(ArchiveUnpackTest, UnpacksBelowAGivenRootAndLeavesTheWorkingDirectoryAlone) {
  WriteTestZip("demo.dat", {TestFile("engine_data/textures/a.png", "png"), TestFile("../../up.txt", "up")});
  const fs::path root = m_sandbox.path() / "private";
  fs::create_directory(root);
  EXPECT_TRUE(UnpackArchive("demo.dat", root.string(), &m_error)) << m_error;
  EXPECT_THAT(ListTree(root), ElementsAre("engine_data/", "engine_data/textures/", "engine_data/textures/a.png",
                                          "up.txt"));
  EXPECT_THAT(Unpacked(), IsEmpty());
}

[[noreturn]] void UnpackWithFileSizeLimit(rlim_t bytes) {
  std::signal(SIGXFSZ, SIG_IGN);
  const rlimit limit{bytes, bytes};
  setrlimit(RLIMIT_FSIZE, &limit);
  std::string error;
  const bool unpacked = UnpackArchive("demo.dat", "", &error);
  std::fprintf(stderr, "%s\n", error.c_str());
  std::exit(unpacked ? 0 : 3);
}

// A full disk, as the unpacker meets it: a write that fails part way. The file size limit gives
// that without a disk to fill; it runs in a child process so the limit does not outlive the test.
TEST_F(ArchiveUnpackTest, NoRoomToWriteIsReportedWithTheSystemsReason) {
  WriteTestZip("demo.dat", {TestFile("engine_data/small.txt", "fits"),
                            TestFile("engine_data/music.mp3", std::string(100000, 'm'))});
  EXPECT_EXIT(UnpackWithFileSizeLimit(50000), ::testing::ExitedWithCode(3),
              "demo.dat: could not unpack engine_data/music.mp3: File too large");
}

TEST_F(ArchiveUnpackTest, ReaderDescribesEntriesInAnyOrder) {
  TestZipEntry dosDirectory = TestDirectory("engine_data\\sub\\");
  dosDirectory.versionMadeBy = 20;
  dosDirectory.externalAttributes = 0x10 | 0x02;
  WriteTestZip("demo.dat", {TestFile("engine_data/a.txt", "aaaa"), dosDirectory,
                            TestFile("gr\xC3\xB6\xC3\x9F" "e/\x81.txt", "utf")});
  ArchiveReader reader;
  ASSERT_TRUE(reader.Open("demo.dat"));
  EXPECT_EQ(reader.root(), m_work.string() + "/");
  ArchiveEntry entry;
  ASSERT_TRUE(reader.GetEntry(-1, &entry));
  EXPECT_EQ(entry.index, 3);
  EXPECT_FALSE(reader.GetEntry(3, &entry));
  EXPECT_FALSE(reader.GetEntry(-2, &entry));

  ASSERT_TRUE(reader.GetEntry(2, &entry));
  EXPECT_EQ(entry.name, "gr\xC3\xB6\xC3\x9F" "e/\xEF\xBF\xBD.txt");
  ASSERT_TRUE(reader.GetEntry(0, &entry));
  EXPECT_EQ(entry.name, "engine_data/a.txt");
  EXPECT_EQ(entry.uncompressedSize, 4);
  EXPECT_EQ(entry.attributes, FILE_ATTRIBUTE_ARCHIVE);
  ASSERT_TRUE(reader.GetEntry(1, &entry));
  EXPECT_EQ(entry.name, "engine_data/sub/");
  EXPECT_EQ(entry.attributes, FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_HIDDEN);

  reader.UnpackEntry(0, "renamed.txt");
  reader.UnpackEntry(2, "../escape.txt");
  EXPECT_EQ(ReadWholeFile("renamed.txt"), "aaaa");
  reader.Close();
  EXPECT_FALSE(reader.GetEntry(0, &entry));
  ExpectOutsideUntouched();
}

}  // namespace

TEST(ArchiveFromMemory, UnpacksLikeTheFileAndRefusesWhatIsCutShort) {
  TempDirectory sandbox;
  // The timestamp block is an extra field: minizip steps back over it with a negative offset.
  TestZipEntry stamped = TestFile("engine_data/stamped.txt", "s");
  stamped.extra = ExtendedTimestampBlock(1, {1600000000});
  WriteTestZip(sandbox.path() / "show.zip", {TestFile("engine_data/a.txt", std::string(5000, 'a')),
                                             TestFile("../climb.txt", "c"), TestDirectory("engine_data/empty/"),
                                             stamped});
  const std::string whole = ReadWholeFile(sandbox.path() / "show.zip");
  const auto* bytes = reinterpret_cast<const uint8_t*>(whole.data());
  const fs::path fromFile = sandbox.path() / "from-file";
  const fs::path fromMemory = sandbox.path() / "from-memory";
  fs::create_directory(fromFile);
  fs::create_directory(fromMemory);
  {
    ArchiveReader reader;
    reader.SetWholeReadLimit(0);
    ASSERT_TRUE(reader.Open((sandbox.path() / "show.zip").string(), fromFile.string())) << reader.error();
    EXPECT_EQ(reader.Memory().bytes, nullptr);
    UnpackEntries(&reader);
    EXPECT_EQ(reader.error(), "");
  }
  {
    ArchiveReader reader;
    ASSERT_TRUE(reader.OpenMemory(bytes, whole.size(), fromMemory.string())) << reader.error();
    UnpackEntries(&reader);
    EXPECT_EQ(reader.error(), "");
  }
  EXPECT_EQ(ListTree(fromMemory), ListTree(fromFile));
  EXPECT_THAT(ListTree(fromMemory), ::testing::Contains("engine_data/a.txt"));
  EXPECT_EQ(ReadWholeFile(fromMemory / "engine_data/a.txt"), std::string(5000, 'a'));
  EXPECT_EQ(fs::last_write_time(fromMemory / "engine_data/stamped.txt"),
            fs::last_write_time(fromFile / "engine_data/stamped.txt"));

  // Cut before its zip directory ends, the archive is refused with the reason and nothing lands.
  const fs::path root = sandbox.path() / "root";
  fs::create_directory(root);
  for (const size_t length : {size_t{0}, size_t{21}, whole.size() / 2}) {
    ArchiveReader reader;
    EXPECT_FALSE(reader.OpenMemory(bytes, length, root.string())) << "archive cut at " << length;
    EXPECT_THAT(reader.error(), HasSubstr("the archive in memory: not a zip archive")) << length;
  }
  EXPECT_THAT(ListTree(root), IsEmpty());
}
