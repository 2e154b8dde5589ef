#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "SceneFixtures.h"
#include "scene/C4eReader.h"

namespace scene_test {
namespace {

// Where each part of a file begins and the message a failure inside it shows.
struct Section {
  size_t start;
  std::string message;
};

// The complete scene written piece by piece, remembering where each section starts.
std::vector<uint8_t> WriteWithSections(const c4e::Scene& scene, std::vector<Section>* sections) {
  c4e::ByteWriter out;
  auto mark = [&](const char* message) { sections->push_back({out.bytes().size(), message}); };
  mark("file format");
  c4e::WriteMagic(out);
  mark("scene name");
  out.Int32(1);
  out.String(scene.name);
  mark("object count");
  out.Int32(2);
  out.Int32(scene.objectCount);
  mark("polyobject count");
  out.Int32(3);
  out.Int32(static_cast<int32_t>(scene.polyObjects.size()));
  mark("camera count");
  out.Int32(4);
  out.Int32(static_cast<int32_t>(scene.cameras.size()));
  mark("light count");
  out.Int32(6);
  out.Int32(static_cast<int32_t>(scene.lights.size()));
  mark("material count");
  out.Int32(5);
  out.Int32(static_cast<int32_t>(scene.materials.size()));
  for (const auto& material : scene.materials) {
    mark("materials");
    c4e::WriteMaterial(out, material);
  }
  for (const auto& object : scene.polyObjects) {
    mark("polyobjects");
    c4e::WritePolyObject(out, object);
  }
  for (const auto& camera : scene.cameras) {
    mark("cameras");
    c4e::WriteCamera(out, camera);
  }
  mark("environment");
  c4e::WriteEnvironment(out, scene.environment);
  for (const auto& light : scene.lights) {
    mark("lights");
    c4e::WriteLight(out, light);
  }
  return out.bytes();
}

const std::string& SectionAt(const std::vector<Section>& sections, size_t offset) {
  size_t found = 0;
  for (size_t i = 0; i < sections.size(); ++i)
    if (sections[i].start <= offset) found = i;
  return sections[found].message;
}

void PutInt32(std::vector<uint8_t>* bytes, size_t offset, int32_t value) {
  std::memcpy(bytes->data() + offset, &value, 4);  // the test hosts are little-endian like the format
}

size_t FindInt32(const std::vector<uint8_t>& bytes, size_t from, int32_t value) {
  for (size_t i = from; i + 4 <= bytes.size(); ++i) {
    int32_t word;
    std::memcpy(&word, bytes.data() + i, 4);
    if (word == value) return i;
  }
  return bytes.size();
}

TEST(SceneFileReaderTest, WriterMatchesThePieceByPieceLayout) {
  std::vector<Section> sections;
  const c4e::Scene scene = CompleteScene();
  EXPECT_EQ(WriteWithSections(scene, &sections), c4e::WriteScene(scene));
  const ReadResult result = ReadScene(scene);
  ASSERT_EQ(result.message, nullptr);
  EXPECT_EQ(result.scene->name, "complete");
  EXPECT_EQ(result.scene->objectCount, 6);
}

TEST(SceneFileReaderTest, EveryTruncationFailsWithTheMessageOfItsSection) {
  std::vector<Section> sections;
  const std::vector<uint8_t> bytes = WriteWithSections(CompleteScene(), &sections);
  for (size_t length = 0; length < bytes.size(); ++length) {
    const std::vector<uint8_t> truncated(bytes.begin(), bytes.begin() + static_cast<std::ptrdiff_t>(length));
    const ReadResult result = ReadScene(truncated);
    ASSERT_NE(result.message, nullptr) << "a file cut at " << length << " of " << bytes.size() << " bytes loaded";
    EXPECT_EQ(result.message, SectionAt(sections, length)) << "cut at " << length;
  }
}

TEST(SceneFileReaderTest, EveryWrongTagFailsWithItsMessage) {
  std::vector<Section> sections;
  const std::vector<uint8_t> bytes = WriteWithSections(CompleteScene(), &sections);
  for (const Section& section : sections) {
    std::vector<uint8_t> broken = bytes;
    PutInt32(&broken, section.start, 0x7777);
    EXPECT_STREQ(ReadScene(broken).message, section.message.c_str()) << "tag at " << section.start;
  }
  // The seven block tags inside a material.
  size_t materialStart = 0;
  for (const Section& section : sections)
    if (section.message == "materials") materialStart = section.start;
  size_t offset = materialStart;
  for (int32_t tag = 0x1001; tag <= 0x1007; ++tag) {
    offset = FindInt32(bytes, offset, tag);
    ASSERT_LT(offset, bytes.size());
    std::vector<uint8_t> broken = bytes;
    PutInt32(&broken, offset, tag + 1);
    EXPECT_STREQ(ReadScene(broken).message, "materials") << "block tag " << std::hex << tag;
  }
}

TEST(SceneFileReaderTest, MagicIsCheckedBeforeAnythingElse) {
  std::vector<uint8_t> bytes = c4e::WriteScene(CompleteScene());
  for (size_t word = 0; word < 3; ++word) {
    std::vector<uint8_t> broken = bytes;
    broken[word * 4 + 1] ^= 0x01;
    const ReadResult result = ReadScene(broken);
    EXPECT_STREQ(result.message, "file format");
    EXPECT_TRUE(result.scene->name.empty());
  }
  EXPECT_STREQ(ReadScene(std::vector<uint8_t>{0x37, 0x13, 0, 0}).message, "file format");
}

TEST(SceneFileReaderTest, MaterialWithoutBlocksIsTagNumberNameAndSevenShortBlocks) {
  c4e::ByteWriter out;
  c4e::Material material;
  material.name = "bare";
  c4e::WriteMaterial(out, material);
  ASSERT_EQ(out.bytes().size(), 8u + (4 + 4 + 1) + 7 * 5);
  // Each block is its tag followed by one zero byte.
  for (int block = 0; block < 7; ++block) {
    const size_t at = 17 + static_cast<size_t>(block) * 5;
    int32_t tag;
    std::memcpy(&tag, out.bytes().data() + at, 4);
    EXPECT_EQ(tag, 0x1001 + block);
    EXPECT_EQ(out.bytes()[at + 4], 0);
  }
  c4e::Scene scene;
  scene.materials.push_back(material);
  const ReadResult result = ReadScene(scene);
  ASSERT_EQ(result.message, nullptr);
  ASSERT_EQ(result.scene->materials.size(), 1u);
  const Material& read = *result.scene->materials[0];
  EXPECT_EQ(read.name, "bare");
  EXPECT_FALSE(read.hasDiffuse || read.hasSpecular || read.hasNormalMap || read.transparent ||
               read.hasLuminanceMap || read.hasEnvironmentMap || read.hasReflectionMap);
}

TEST(SceneFileReaderTest, OnlyTheExactNameNoneOmitsTheUvScale) {
  auto objectBytes = [](const std::string& materialName) {
    c4e::ByteWriter out;
    c4e::PolyObject dummy;
    dummy.isDummy = true;
    dummy.materialName = materialName;
    c4e::WritePolyObject(out, dummy);
    return out.bytes().size() - materialName.size();
  };
  EXPECT_EQ(objectBytes("None"), objectBytes("none") + 8);
  EXPECT_EQ(objectBytes("none "), objectBytes("none") + 8);

  for (const std::string materialName : {"none", "None", "none "}) {
    c4e::Scene scene;
    c4e::PolyObject mesh = Triangles(kMeshId, materialName, 1);
    mesh.uvScale[0] = 2.0f;
    mesh.uvScale[1] = 3.0f;
    scene.polyObjects.push_back(mesh);
    const ReadResult result = ReadScene(scene);
    ASSERT_EQ(result.message, nullptr) << '"' << materialName << '"';
    const PolyObject& read = *result.scene->polyObjects[0];
    EXPECT_EQ(read.materialName, materialName);
    const bool scaled = materialName != "none";
    EXPECT_EQ(read.uvScale[0], scaled ? 2.0f : 0.0f);
    EXPECT_EQ(read.uvScale[1], scaled ? 3.0f : 0.0f);
    // Without a uv scale every texture coordinate is 0.
    EXPECT_EQ(read.vertexData[1].texcoord, scaled ? D3DXVECTOR2(2.0f, 0.0f) : D3DXVECTOR2(0.0f, 0.0f));
  }
}

TEST(SceneFileReaderTest, DummyEndsAfterItsTrackAndStringsEndAtTheirZeroByte) {
  c4e::Scene scene = CompleteScene();
  std::vector<uint8_t> bytes = c4e::WriteScene(scene);
  // The scene name's length field says 99; the reader goes by the zero byte.
  PutInt32(&bytes, 16, 99);
  const ReadResult result = ReadScene(bytes);
  ASSERT_EQ(result.message, nullptr);
  EXPECT_EQ(result.scene->name, "complete");
  const PolyObject* dummy = result.scene->FindPolyObject(kDummyId);
  ASSERT_NE(dummy, nullptr);
  EXPECT_TRUE(dummy->isDummy);
  EXPECT_EQ(dummy->vertexCount, 0);
  EXPECT_EQ(result.scene->polyObjects.size(), 3u);  // the next record started right after the track
  // Names are bytes, high bytes included.
  scene.name = std::string("caf\xe9", 4);
  EXPECT_EQ(ReadScene(scene).scene->name, scene.name);
}

TEST(SceneFileReaderTest, KeyTimesAreFramesTimesForty) {
  c4e::Scene scene = CompleteScene();
  scene.polyObjects[0].track.keys[1].frame = 50;
  const ReadResult result = ReadScene(scene);
  ASSERT_EQ(result.message, nullptr);
  const Track& track = *result.scene->FindPolyObject(kDummyId)->track;
  ASSERT_EQ(track.keyCount, 2);
  EXPECT_EQ(track.keys[1].frame, 50);
  EXPECT_EQ(track.keys[1].time, 2000u);
  const PolyObject* morph = result.scene->FindPolyObject(kMorphId);
  ASSERT_EQ(morph->morphKeys.size(), 3u);
  EXPECT_EQ(morph->morphKeys[2]->time, 4000u);
}

TEST(SceneFileReaderTest, BadReferencesAndCountsAreRejectedWithTheSectionMessage) {
  {
    c4e::Scene scene = CompleteScene();
    scene.polyObjects[1].polygons[3][2] = 5;  // the pyramid has 5 vertices
    EXPECT_STREQ(ReadScene(scene).message, "polyobjects");
    scene.polyObjects[1].polygons[3][2] = -1;
    EXPECT_STREQ(ReadScene(scene).message, "polyobjects");
  }
  {
    c4e::Scene scene = CompleteScene();
    scene.polyObjects[2].morphKeys[1].positions.pop_back();
    EXPECT_STREQ(ReadScene(scene).message, "polyobjects");
  }
  {
    c4e::Scene scene = CompleteScene();
    scene.polyObjects[1].parentId = 0x999;
    EXPECT_STREQ(ReadScene(scene).message, "polyobjects");
  }
  {
    c4e::Scene scene = CompleteScene();
    scene.cameras[0].targetId = 0x999;
    EXPECT_STREQ(ReadScene(scene).message, "cameras");
  }
  {
    c4e::Scene scene = CompleteScene();
    scene.lights[0].targetId = 0;
    EXPECT_STREQ(ReadScene(scene).message, "lights");
  }
  {
    c4e::Scene scene = CompleteScene();
    for (int i = 0; i < 8; ++i) scene.lights.push_back(LightPointingAt(kMeshId));
    EXPECT_STREQ(ReadScene(scene).message, "lights");
    scene.lights.pop_back();
    EXPECT_EQ(ReadScene(scene).message, nullptr);  // eight fit
  }
}

TEST(SceneFileReaderTest, NegativeAndAbsurdCountsFailBeforeAllocating) {
  const c4e::Scene scene = CompleteScene();
  const std::vector<uint8_t> bytes = c4e::WriteScene(scene);
  // The static pyramid's vertex count comes before its 5 vertices, 6 polygons and 6 uv records.
  std::vector<Section> sections;
  WriteWithSections(scene, &sections);
  const size_t meshEnd = sections[7 + 1 + 2].start;  // header sections, material, dummy, mesh, then the morph mesh
  const size_t vertexCountAt = meshEnd - (4 + 5 * 12 + 4 + 6 * 12 + 6 * 24);
  int32_t stored;
  std::memcpy(&stored, bytes.data() + vertexCountAt, 4);
  ASSERT_EQ(stored, 5);
  for (int32_t absurd : {-1, 0x7fffffff, static_cast<int32_t>(0x80000000)}) {
    std::vector<uint8_t> broken = bytes;
    PutInt32(&broken, vertexCountAt, absurd);
    EXPECT_STREQ(ReadScene(broken).message, "polyobjects") << absurd;
  }
  // A negative section count means an empty section (then the next tag is not where it is expected).
  c4e::Scene empty;
  std::vector<uint8_t> negative = c4e::WriteScene(empty);
  PutInt32(&negative, 4 * 3 + 4 + 5 + 8 + 4, -3);  // polyobject count
  const ReadResult result = ReadScene(negative);
  EXPECT_EQ(result.message, nullptr);
  EXPECT_EQ(result.scene->polyObjectCount, 0);
}

TEST(C4eReaderTest, PrimitivesAreLittleEndianAndCountsAreBoundedByTheRest) {
  const uint8_t bytes[] = {0x78, 0x56, 0x34, 0x12, 0x00, 0x00, 0x80, 0x3f, 0x02, 0x03, 0x00, 0x00, 0x00, 'a', 'b', 0x00};
  C4eReader in(bytes, sizeof(bytes));
  int32_t i;
  float f;
  bool flag;
  std::string s;
  ASSERT_TRUE(in.ReadInt32(&i));
  EXPECT_EQ(i, 0x12345678);
  ASSERT_TRUE(in.ReadFloat(&f));
  EXPECT_EQ(f, 1.0f);
  ASSERT_TRUE(in.ReadFlag(&flag));
  EXPECT_TRUE(flag);  // 2 is true as well
  ASSERT_TRUE(in.ReadString(&s));
  EXPECT_EQ(s, "ab");
  EXPECT_EQ(in.Remaining(), 0u);
  EXPECT_FALSE(in.ReadFlag(&flag));
  EXPECT_FALSE(in.CanHold(1, 1));
  EXPECT_TRUE(in.CanHold(0, 12));
  EXPECT_FALSE(in.CanHold(-1, 12));

  const uint8_t noZero[] = {0x02, 0, 0, 0, 'a', 'b'};
  C4eReader unterminated(noZero, sizeof(noZero));
  EXPECT_FALSE(unterminated.ReadString(&s));
}

}  // namespace
}  // namespace scene_test
