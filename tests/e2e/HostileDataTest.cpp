// The real show on damaged copies of its own demo.dat: cut and flipped scene files, a missing
// scene, missing and damaged textures, cut or noisy music, a shader that does not compile,
// captions of 1 x 1 and 16384 x 16384. The show never crashes or hangs, says which step failed,
// ends with status 1 when it could not start, and leaves no private data directory behind.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <zlib.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>

#include "ShowProcess.h"
#include "support/ArchiveTestZip.h"
#include "app/ArchiveUnpacker.h"
#include "demo/ShowData.h"
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

std::string FileName(const std::string& name) { return fs::path(name).filename().string(); }

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
  // The scene files the show loads, in its order.
  static std::vector<std::string> ShowScenes() {
    std::vector<std::string> scenes;
    for (int32_t i = 0; i < show::kSceneCount; ++i) scenes.push_back(std::string("engine_data/") + show::SceneFileName(i));
    return scenes;
  }
  // The scene file whose materials name this file, "" when none does.
  static std::string SceneUsing(const std::string& name) {
    const std::string file = fs::path(name).filename().string();
    for (const std::string& scene : ShowScenes()) {
      if (s_pristine->at(scene).find(file) != std::string::npos) return scene;
    }
    return std::string();
  }
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
    EXPECT_THAT(show.SessionSurvivors(), IsEmpty()) << what << " left processes running";
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


TEST_F(HostileDataTest, CutOrMissingSceneFilesAreReportedByTheLoaderAndEndTheStart) {
  const std::vector<std::string> scenes = ShowScenes();
  // One cut per scene file, at a tenth, three tenths or six tenths in turn; cuts at every point
  // of the reader's input are the fuzzers' work.
  constexpr size_t kTenths[] = {1, 3, 6};
  for (size_t i = 0; i < scenes.size(); ++i) {
    const std::string whole = Pristine()[scenes[i]];
    const size_t length = whole.size() * kTenths[i % 3] / 10;
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
  const std::vector<std::string> scenes = ShowScenes();
  // Every third scene file, each run loading the whole show.
  for (size_t i = 0; i < scenes.size(); i += 3) {
    ShowData data = Pristine();
    std::string& bytes = data[scenes[i]];
    const size_t at = random() % bytes.size();
    bytes[at] = static_cast<char>(bytes[at] ^ (1 << (random() % 8)));
    const std::string what = scenes[i] + " flipped at " + std::to_string(at);
    const int status = RunShow(data, what);
    // Either the flip lands in a value the show can draw with, or the loader names the file.
    if (DescribeStatus(status) != "exit 0") ExpectRefusedStart(status, "[" + FileName(scenes[i]) + "] ", what);
  }
}

// A scene's material texture that cannot be loaded is the loader's failure: its texture box,
// then its "materials" box, and the show does not start.
TEST_F(HostileDataTest, AMissingOrDamagedSceneTextureEndsTheStartWithTheLoadersBoxes) {
  std::string png;
  std::string dds;
  for (const auto& [name, bytes] : *s_pristine) {
    if (SceneUsing(name).empty()) continue;
    if (png.empty() && name.ends_with(".png")) png = name;
    if (dds.empty() && name.ends_with(".dds")) dds = name;
  }
  ASSERT_FALSE(png.empty());
  ASSERT_FALSE(dds.empty());
  {
    ShowData data = Pristine();
    data.erase(png);
    const std::string what = png + " missing";
    ExpectRefusedStart(RunShow(data, what), "[" + FileName(SceneUsing(png)) + "] couldn't load", what);
    EXPECT_THAT(m_errors, HasSubstr("[" + FileName(SceneUsing(png)) + "] materials")) << what;
  }
  ShowData data = Pristine();
  data[dds] = data[dds].substr(0, data[dds].size() / 2);
  const std::string what = dds + " cut in half";
  ExpectRefusedStart(RunShow(data, what), "[" + FileName(SceneUsing(dds)) + "] couldn't load", what);
}

// Quads and particle systems draw without a texture they cannot load; captions of any size play.
TEST_F(HostileDataTest, MissingOrDamagedTexturesOfQuadsAndParticlesAndCaptionsOfAnySizeArePlayed) {
  std::vector<std::string> images;
  for (const auto& [name, bytes] : *s_pristine) {
    const bool image = name.ends_with(".png") || name.ends_with(".jpg");
    if (image && SceneUsing(name).empty() && !FileName(name).starts_with("text_")) images.push_back(name);
  }
  ASSERT_GE(images.size(), 2u);
  {
    ShowData data = Pristine();
    data.erase(images.front());
    ExpectPlayed(RunShow(data, images.front() + " missing"), images.front() + " missing");
  }
  {
    ShowData data = Pristine();
    data[images.back()] = data[images.back()].substr(0, data[images.back()].size() / 2);
    ExpectPlayed(RunShow(data, images.back() + " cut in half"), images.back() + " cut in half");
  }
  const std::vector<std::string> captions = Named(".png");
  const auto caption = std::find_if(captions.begin(), captions.end(),
                                    [](const std::string& name) { return FileName(name).starts_with("text_"); });
  ASSERT_NE(caption, captions.end());
  for (const auto& [size, label] : {std::pair{1u, "1 x 1"}, std::pair{16384u, "16384 x 16384"}}) {
    ShowData data = Pristine();
    data[*caption] = GreyPng(size, size);
    const std::string what = *caption + " of " + label;
    ExpectPlayed(RunShow(data, what), what);
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
