// The real show on damaged copies of its own demo.dat: cut and flipped scene files, a missing
// scene, missing and damaged textures, cut or noisy music, a shader that does not compile,
// captions of 1 x 1 and 16384 x 16384. The show never crashes or hangs, says which step failed,
// ends with status 1 when it could not start, and leaves no private data directory behind.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <zlib.h>

#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>

#include "ShowProcess.h"
#include "support/ArchiveTestZip.h"
#include "app/ArchiveUnpacker.h"
#include "support/FileTree.h"
#include "support/TempDirectory.h"

namespace fs = std::filesystem;
using ::testing::HasSubstr;
using ::testing::IsEmpty;

namespace {

fs::path BinaryDirectory() {
  const char* directory = std::getenv("PULSAR_BINARY_DIR");
  return directory ? fs::path(directory) : fs::current_path();
}

// Archive entry name -> bytes; directories end in '/' and hold nothing.
using ShowData = std::map<std::string, std::string>;

// A grey PNG of any size written row by row through zlib, so a huge one costs little to make.
std::string GreyPng(uint32_t width, uint32_t height) {
  const auto chunk = [](std::string* out, const char* type, const std::string& data) {
    const auto put32 = [out](uint32_t v) {
      for (int shift = 24; shift >= 0; shift -= 8) out->push_back(static_cast<char>((v >> shift) & 0xFF));
    };
    put32(static_cast<uint32_t>(data.size()));
    const std::string typed = std::string(type, 4) + data;
    out->append(typed);
    put32(static_cast<uint32_t>(crc32(0, reinterpret_cast<const Bytef*>(typed.data()), static_cast<uInt>(typed.size()))));
  };
  std::string header;
  for (const uint32_t v : {width, height}) {
    for (int shift = 24; shift >= 0; shift -= 8) header.push_back(static_cast<char>((v >> shift) & 0xFF));
  }
  header += std::string("\x08\x00\x00\x00\x00", 5);  // 8-bit grey, no interlace
  z_stream z{};
  deflateInit(&z, 1);
  std::string row(width + 1, '\x80');
  row[0] = 0;  // no filter
  std::string compressed;
  std::vector<unsigned char> buffer(1 << 16);
  for (uint32_t y = 0; y < height; ++y) {
    z.next_in = reinterpret_cast<Bytef*>(row.data());
    z.avail_in = static_cast<uInt>(row.size());
    const int flush = y + 1 == height ? Z_FINISH : Z_NO_FLUSH;
    do {
      z.next_out = buffer.data();
      z.avail_out = static_cast<uInt>(buffer.size());
      deflate(&z, flush);
      compressed.append(reinterpret_cast<char*>(buffer.data()), buffer.size() - z.avail_out);
    } while (z.avail_out == 0);
  }
  deflateEnd(&z);
  std::string png("\x89PNG\r\n\x1a\n", 8);
  chunk(&png, "IHDR", header);
  chunk(&png, "IDAT", compressed);
  chunk(&png, "IEND", "");
  return png;
}

class HostileDataTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    s_pristine = new ShowData;
    const fs::path archive = BinaryDirectory() / "demo.dat";
    if (!fs::exists(archive)) return;
    TempDirectory unpacked;
    std::string error;
    ASSERT_TRUE(UnpackArchive(archive.string(), unpacked.path().string(), &error)) << error;
    for (const std::string& name : ListTree(unpacked.path())) {
      (*s_pristine)[name] = name.back() == '/' ? std::string() : ReadWholeFile(unpacked.path() / name);
    }
  }
  static void TearDownTestSuite() {
    delete s_pristine;
    s_pristine = nullptr;
  }
  void SetUp() override {
    if (s_pristine->empty()) GTEST_SKIP() << "no demo.dat built";
    fs::create_directory(Runtime());
    fs::create_directory(Work());
  }
  fs::path Runtime() const { return m_sandbox.path() / "runtime"; }
  fs::path Work() const { return m_sandbox.path() / "work"; }

  static ShowData Pristine() { return *s_pristine; }
  // Names of the show's files ending in suffix, without the directory.
  static std::vector<std::string> Named(const std::string& suffix) {
    std::vector<std::string> names;
    for (const auto& [name, bytes] : *s_pristine) {
      if (name.size() > suffix.size() && name.ends_with(suffix)) names.push_back(name);
    }
    return names;
  }

  // Runs the show on data (tiny, a few fixed steps); returns the wait status. A run that does
  // not end in time is killed and fails the test.
  int RunShow(const ShowData& data, const std::string& what) {
    std::vector<TestZipEntry> entries;
    for (const auto& [name, bytes] : data) {
      TestZipEntry entry = name.back() == '/' ? TestDirectory(name) : TestFile(name, bytes);
      entry.stored = bytes.size() > (1u << 20);  // large entries stored: each variant is written quickly
      entries.push_back(std::move(entry));
    }
    const fs::path archive = Work() / "demo.dat";
    fs::remove(archive);
    WriteTestZip(archive, entries);
    ShowRun run;
    run.program = BinaryDirectory() / "pulsar";
    run.arguments = {"--headless", "--size", "32x18", "--clock", "fixed:250", "--end-at", "1000"};
    run.workingDirectory = Work();
    run.runtimeDirectory = Runtime();
    run.errorFile = m_sandbox.path() / "stderr.txt";
    ShowProcess show;
    EXPECT_TRUE(show.Start(run)) << what;
    if (!show.WaitForEnd()) {
      ADD_FAILURE() << what << " did not end";
      show.Signal(SIGKILL);
    }
    const int status = show.Wait();
    m_errors = show.Errors();
    EXPECT_FALSE(WIFSIGNALED(status)) << what << " crashed: " << DescribeStatus(status) << "\n" << m_errors;
    EXPECT_THAT(ListTree(Runtime()), IsEmpty()) << what << " left its private directory";
    return status;
  }
  // The show could not start: status 1 and the box of the failing step.
  void ExpectRefusedStart(int status, const std::string& box, const std::string& what) {
    EXPECT_EQ(DescribeStatus(status), "exit 1") << what << "\n" << m_errors;
    EXPECT_THAT(m_errors, HasSubstr(box)) << what;
  }
  void ExpectPlayed(int status, const std::string& what) {
    EXPECT_EQ(DescribeStatus(status), "exit 0") << what << "\n" << m_errors;
  }

  static ShowData* s_pristine;
  TempDirectory m_sandbox;
  std::string m_errors;
};

ShowData* HostileDataTest::s_pristine = nullptr;

std::string FileName(const std::string& name) { return fs::path(name).filename().string(); }

TEST_F(HostileDataTest, CutOrMissingSceneFilesAreReportedByTheLoaderAndEndTheStart) {
  const std::vector<std::string> scenes = Named(".c4e");
  ASSERT_FALSE(scenes.empty());
  // One cut per scene, alternating between early and at the very end; cuts at every point are
  // the fuzzers' work.
  for (size_t i = 0; i < scenes.size(); ++i) {
    const std::string whole = Pristine()[scenes[i]];
    const size_t length = i % 2 == 0 ? whole.size() / 3 : whole.size() - 1;
    ShowData data = Pristine();
    data[scenes[i]] = whole.substr(0, length);
    const std::string what = scenes[i] + " cut at " + std::to_string(length);
    ExpectRefusedStart(RunShow(data, what), "[" + FileName(scenes[i]) + "] ", what);
  }
  ShowData data = Pristine();
  data.erase(scenes.back());
  const std::string what = scenes.back() + " missing";
  ExpectRefusedStart(RunShow(data, what), "[" + FileName(scenes.back()) + "] open file", what);
}

TEST_F(HostileDataTest, AFlippedByteInASceneFileNeverCrashes) {
  std::mt19937 random(23);
  for (const std::string& scene : Named(".c4e")) {
    {
      ShowData data = Pristine();
      std::string& bytes = data[scene];
      const size_t at = random() % bytes.size();
      bytes[at] = static_cast<char>(bytes[at] ^ (1 << (random() % 8)));
      const std::string what = scene + " flipped at " + std::to_string(at);
      const int status = RunShow(data, what);
      // Either the flip lands in a value the show can draw with, or the loader names the file.
      if (DescribeStatus(status) != "exit 0") ExpectRefusedStart(status, "[" + FileName(scene) + "] ", what);
    }
  }
}

TEST_F(HostileDataTest, MissingOrDamagedTexturesAndCaptionsOfAnySizeAreDrawnWithoutOrPlayed) {
  std::vector<std::string> images = Named(".png");
  for (const char* suffix : {".jpg", ".dds"}) {
    const std::vector<std::string> more = Named(suffix);
    if (!more.empty()) images.push_back(more.front());
  }
  ASSERT_FALSE(images.empty());
  const std::string texture = images.front();
  {
    ShowData data = Pristine();
    data.erase(texture);
    ExpectPlayed(RunShow(data, texture + " missing"), texture + " missing");
  }
  for (const std::string& image : images) {
    ShowData data = Pristine();
    data[image] = data[image].substr(0, data[image].size() / 2);
    ExpectPlayed(RunShow(data, image + " cut in half"), image + " cut in half");
  }
  std::vector<std::string> captions;
  for (const std::string& image : images) {
    if (FileName(image).starts_with("text_")) captions.push_back(image);
  }
  if (captions.empty()) GTEST_SKIP() << "this demo.dat has no caption yet";
  for (const auto& [size, label] : {std::pair{1u, "1 x 1"}, std::pair{16384u, "16384 x 16384"}}) {
    ShowData data = Pristine();
    data[captions.front()] = GreyPng(size, size);
    ExpectPlayed(RunShow(data, captions.front() + " of " + label), captions.front() + " of " + label);
  }
}

TEST_F(HostileDataTest, CutOrNoisyMusicPlaysWhatItCanOrRunsSilent) {
  const std::vector<std::string> music = Named("music.mp3");
  ASSERT_EQ(music.size(), 1u);
  const std::string whole = Pristine()[music.front()];
  std::mt19937 random(5);
  std::string noise(whole.size() / 8, '\0');
  for (char& c : noise) c = static_cast<char>(random());
  for (const auto& [bytes, what] : {std::pair{whole.substr(0, whole.size() / 50), "music cut short"},
                                    std::pair{whole.substr(0, 1000), "music cut to 1000 bytes"},
                                    std::pair{std::string(), "empty music"}, std::pair{noise, "music of noise"}}) {
    ShowData data = Pristine();
    data[music.front()] = bytes;
    const int status = RunShow(data, what);
    // A stream that cannot be opened at all is the sound's creation failing, said in its box.
    if (DescribeStatus(status) != "exit 0") ExpectRefusedStart(status, "[rock'n'error] m_pSound->Create", what);
  }
}

TEST_F(HostileDataTest, AShaderThatDoesNotCompileShowsTheCompilersTextAndEndsTheStart) {
  const std::vector<std::string> shaders = Named("_PS.hlsl");
  ASSERT_FALSE(shaders.empty());
  ShowData data = Pristine();
  data[shaders.front()] += "\nfloat4 broken( { return }\n";
  const int status = RunShow(data, shaders.front() + " broken");
  ExpectRefusedStart(status, FileName(shaders.front()) + "] ", "a broken shader");
  EXPECT_THAT(m_errors, HasSubstr("[rock'n'error] m_pSM->InitShaders"));
}

}  // namespace
