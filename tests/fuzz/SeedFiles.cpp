#include "SeedFiles.h"

#include <filesystem>
#include <fstream>
#include <iterator>

#include "support/ArchiveTestZip.h"
#include "support/ImageFixtures.h"
#include "support/TempDirectory.h"

namespace fuzz_seeds {
namespace {

std::vector<uint8_t> ZipBytes(const std::filesystem::path& path, const std::vector<TestZipEntry>& entries) {
  WriteTestZip(path, entries);
  std::ifstream file(path, std::ios::binary);
  return std::vector<uint8_t>(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

}  // namespace

Seeds SeedArchives() {
  TempDirectory directory;
  TestZipEntry stored = TestFile("scenes/raw.c4e", std::string(300, 'r'));
  stored.stored = true;
  TestZipEntry stamped = TestFile("stamped.txt", "time");
  stamped.extra = ExtendedTimestampBlock(0x3, {1600000000, 1600000100});
  TestZipEntry readOnly = TestFile("locked.txt", "read only");
  readOnly.externalAttributes = 0100444u << 16;
  TestZipEntry hidden = TestFile("secret.txt", "sealed");
  hidden.password = "pulsar";
  TestZipEntry dosNamed = TestFile("dos\\style\\name.txt", "backslashes");
  dosNamed.versionMadeBy = 20;  // FAT host
  Seeds seeds;
  seeds.emplace_back("show.zip", ZipBytes(directory.path() / "show.zip",
                                          {TestDirectory("shaders/"), TestFile("shaders/a.hlsl", "float4 main() {}"),
                                           TestFile("music.mp3", std::string(200, '\x55')), stored, stamped}));
  seeds.emplace_back("names.zip",
                     ZipBytes(directory.path() / "names.zip",
                              {TestFile("../escape.txt", "out"), TestFile("/absolute.txt", "abs"),
                               TestFile("a/../../b.txt", "up"), TestFile("./dot/./x.txt", "dot"),
                               TestFile("c:/drive.txt", "drive"), dosNamed, TestFile("", "empty name")}));
  seeds.emplace_back("odd.zip", ZipBytes(directory.path() / "odd.zip", {readOnly, hidden, TestFile("empty", "")}));
  return seeds;
}

Seeds SeedDdsImages() {
  using Kind = DdsFixture::Kind;
  Seeds seeds;
  int n = 0;
  for (const Kind kind : {Kind::Rgba8, Kind::Bgra8, Kind::Bgrx8, Kind::Bc1, Kind::Bc2, Kind::Bc3}) {
    for (const bool dx10 : {false, true}) {
      DdsFixture fixture;
      fixture.kind = kind;
      fixture.dx10Header = dx10;
      fixture.width = 8 + static_cast<uint32_t>(n % 3) * 4;
      fixture.height = 8;
      fixture.mipLevels = n % 2 == 0 ? 4 : 1;
      fixture.cube = n % 5 == 0;
      if (fixture.cube) fixture.height = fixture.width;
      seeds.emplace_back("image" + std::to_string(n++) + ".dds", EncodeDds(fixture));
    }
  }
  return seeds;
}

}  // namespace fuzz_seeds
