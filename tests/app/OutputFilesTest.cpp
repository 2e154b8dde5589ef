// What a run may write over: the show's own pictures, profiles and videos, and nothing of the
// user's. The marked PNG is checked byte for byte, since a viewer drops a chunk with a bad CRC.
#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <string>
#include <vector>

#include "app/OutputFiles.h"
#include "platform/d3dx/DecodedImage.h"
#include "platform/png_file.h"
#include "support/FileTree.h"
#include "support/ImageFixtures.h"
#include "support/TempDirectory.h"

namespace fs = std::filesystem;

namespace {

uint32_t BigEndian(const std::string& bytes, size_t at) {
  return (uint32_t{static_cast<uint8_t>(bytes[at])} << 24) | (uint32_t{static_cast<uint8_t>(bytes[at + 1])} << 16) |
         (uint32_t{static_cast<uint8_t>(bytes[at + 2])} << 8) | static_cast<uint8_t>(bytes[at + 3]);
}

class OutputFilesTest : public ::testing::Test {
 protected:
  std::string Path(const std::string& name) const { return (m_directory.path() / name).string(); }
  std::string ShowPicture(const std::string& name) {
    const std::string path = Path(name);
    EXPECT_TRUE(platform::WriteShowPng(path, 3, 2, m_pixels.data()));
    return path;
  }

  TempDirectory m_directory;
  const std::vector<uint8_t> m_pixels = {255, 0, 0,   255, 0,   255, 0, 255, 0,  0,  255, 255,
                                         9,   8, 7,   255, 100, 110, 120, 128, 1, 2, 3,   0};
};

TEST_F(OutputFilesTest, AShowPictureIsAValidPngWithItsPixelsAndItsMark) {
  const std::string path = ShowPicture("shot.png");
  EXPECT_TRUE(platform::IsShowPng(path));

  // Every chunk's CRC holds, and the picture decodes to the pixels written.
  const std::string bytes = ReadWholeFile(path);
  size_t chunks = 0;
  for (size_t at = 8; at + 12 <= bytes.size(); ++chunks) {
    const uint32_t length = BigEndian(bytes, at);
    ASSERT_LE(at + 12 + length, bytes.size());
    const uLong crc = crc32(0L, reinterpret_cast<const Bytef*>(bytes.data() + at + 4), length + 4);
    EXPECT_EQ(BigEndian(bytes, at + 8 + length), static_cast<uint32_t>(crc)) << bytes.substr(at + 4, 4);
    at += 12 + length;
  }
  EXPECT_GE(chunks, 4u) << "IHDR, the mark, IDAT and IEND";
  platform::d3dx::DecodedImage image;
  ASSERT_TRUE(platform::d3dx::DecodeImageFile(path, image));
  ASSERT_EQ(image.width, 3u);
  ASSERT_EQ(image.height, 2u);
  EXPECT_EQ(std::vector<uint8_t>(image.data.begin(), image.data.begin() + 24), m_pixels);
}

TEST_F(OutputFilesTest, OnlyTheShowsOwnFilesAreKnownForItsOwn) {
  WriteBytes(Path("plain.png"), EncodePng(3, 2, m_pixels));
  WriteWholeFile(Path("notes.txt"), "a user's notes\n");
  WriteWholeFile(Path("empty.png"), "");
  std::string marked = ReadWholeFile(ShowPicture("cut.png"));
  WriteWholeFile(Path("cut.png"), marked.substr(0, 40));
  for (const char* name : {"plain.png", "notes.txt", "empty.png", "cut.png", "missing.png"})
    EXPECT_FALSE(platform::IsShowPng(Path(name))) << name;

  WriteWholeFile(Path("frames.tsv"), std::string(kProfileFirstLine) + "; gpu timing: glFinish\nstartup\t900\n");
  WriteWholeFile(Path("table.tsv"), "scene\tmedian\n# pulsar frame profile\n");
  EXPECT_TRUE(IsShowProfile(Path("frames.tsv")));
  EXPECT_FALSE(IsShowProfile(Path("table.tsv")));
  EXPECT_FALSE(IsShowProfile(Path("missing.tsv")));

  WriteWholeFile(Path("show.mp4"), std::string(5000, '\0') + "comment" + kVideoMark + std::string(100, '\1'));
  WriteWholeFile(Path("film.mp4"), std::string(5000, '\0') + "comment: a film recorded by Pulsar\n");
  EXPECT_TRUE(IsShowVideo(Path("show.mp4")));
  EXPECT_FALSE(IsShowVideo(Path("film.mp4")));
  EXPECT_FALSE(IsShowVideo(Path("missing.mp4")));
}

TEST_F(OutputFilesTest, TheFirstUserFileUnderAnOutputNameStopsTheRun) {
  EXPECT_EQ(OutputInTheWay({}), "");
  EXPECT_EQ(OutputInTheWay({Path("new.png"), Path("frames"), Path("new.tsv"), Path("new.mp4")}), "")
      << "names nobody uses yet";

  const std::string frames = Path("frames");
  fs::create_directory(frames);
  ShowPicture("frames/frame_00000.png");
  WriteWholeFile(Path("frames/notes.txt"), "not a frame name\n");
  WriteWholeFile(Path("frames/frame_7.png"), "not a frame name either\n");
  EXPECT_EQ(OutputInTheWay({ShowPicture("shot.png"), frames, "", ""}), "") << "the show's own pictures";

  WriteBytes(Path("frames/frame_00002.png"), EncodePng(3, 2, m_pixels));
  EXPECT_EQ(OutputInTheWay({"", frames, "", ""}),
            "--capture: " + Path("frames/frame_00002.png") +
                " is already there and was not written by Pulsar; nothing was replaced. Move it away or choose "
                "another name.");

  WriteWholeFile(Path("mine.png"), "x");
  WriteWholeFile(Path("mine.tsv"), "x");
  WriteWholeFile(Path("mine.mp4"), "x");
  EXPECT_NE(OutputInTheWay({Path("mine.png"), "", "", ""}).find("--screenshot: " + Path("mine.png")), std::string::npos);
  EXPECT_NE(OutputInTheWay({"", "", Path("mine.tsv"), ""}).find("--profile: " + Path("mine.tsv")), std::string::npos);
  EXPECT_NE(OutputInTheWay({"", "", "", Path("mine.mp4")}).find("--video: " + Path("mine.mp4")), std::string::npos);
  // A directory under a file's name is not the show's either.
  EXPECT_NE(OutputInTheWay({frames, "", "", ""}).find("--screenshot: "), std::string::npos);
}

}  // namespace
