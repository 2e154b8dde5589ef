// Load time and per-frame update cost of a generated scene of about 50,000 triangles, with
// one morphing mesh of about 5,000 triangles. Without a device (CPU work only) and, when a
// headless GL device starts, with buffer creation and the dynamic buffer upload.
#include <benchmark/benchmark.h>

#include <cmath>

#include "C4eWriter.h"
#include "gfx/RenderContext.h"
#include "scene/Scene.h"
#include "scene/SceneLoader.h"
#include "support/GpuTestDevice.h"

namespace {

// A wavy grid of cells × cells quads (2 triangles each).
c4e::PolyObject Grid(uint64_t id, int cells, float offset) {
  c4e::PolyObject mesh;
  mesh.name = "grid";
  mesh.id = id;
  mesh.materialName = "stone";
  mesh.smoothNormals = true;
  mesh.position = {offset, 0, 0};
  for (int z = 0; z <= cells; ++z)
    for (int x = 0; x <= cells; ++x)
      mesh.vertices.push_back({static_cast<float>(x), std::sin(x * 0.3f) * std::cos(z * 0.2f), static_cast<float>(z)});
  const int row = cells + 1;
  for (int z = 0; z < cells; ++z) {
    for (int x = 0; x < cells; ++x) {
      const int a = z * row + x, b = a + 1, c = a + row, d = c + 1;
      const float u0 = static_cast<float>(x) / cells, u1 = static_cast<float>(x + 1) / cells;
      const float v0 = static_cast<float>(z) / cells, v1 = static_cast<float>(z + 1) / cells;
      mesh.polygons.push_back({a, c, b});
      mesh.uvs.push_back({u0, v0, u0, v1, u1, v0});
      mesh.polygons.push_back({b, c, d});
      mesh.uvs.push_back({u1, v0, u0, v1, u1, v1});
    }
  }
  return mesh;
}

c4e::Track Spin(int32_t lastFrame) {
  c4e::Track track;
  track.hasTrack = true;
  for (int32_t i = 0; i <= 4; ++i) {
    c4e::TrackKey key;
    key.frame = lastFrame * i / 4;
    key.interpolation = c4e::kHermite;
    key.rotation = {0.5f * i, 0.25f * i, 0};
    key.position = {0, static_cast<float>(i), 0};
    track.keys.push_back(key);
  }
  return track;
}

std::vector<uint8_t> BenchScene(int* triangles) {
  c4e::Scene scene;
  scene.name = "bench";
  c4e::Material stone;
  stone.name = "stone";
  stone.hasDiffuse = true;
  stone.diffuseColor = {0.6f, 0.6f, 0.6f};
  scene.materials.push_back(stone);
  *triangles = 0;
  // Nine static grids of 50 × 50 cells (5,000 triangles each) with tracks.
  for (int i = 0; i < 9; ++i) {
    c4e::PolyObject grid = Grid(100 + i, 50, i * 60.0f);
    grid.track = Spin(250);
    *triangles += static_cast<int>(grid.polygons.size());
    scene.polyObjects.push_back(grid);
  }
  // One morphing grid of 5,000 triangles with 11 keys.
  c4e::PolyObject morph = Grid(1, 50, -60.0f);
  morph.hasMorph = true;
  for (int k = 0; k <= 10; ++k) {
    c4e::MorphKey key;
    key.frame = k * 25;
    key.interpolation = k % 2 ? c4e::kLinear : c4e::kHermite;
    key.positions = morph.vertices;
    for (c4e::Vec3& p : key.positions) p.y = std::sin(p.x * 0.2f + k) * std::cos(p.z * 0.15f - k);
    morph.morphKeys.push_back(key);
  }
  *triangles += static_cast<int>(morph.polygons.size());
  scene.polyObjects.push_back(morph);

  c4e::Camera camera;
  camera.targetId = 1;
  camera.position = {0, 40, -80};
  camera.track = Spin(250);
  scene.cameras.push_back(camera);
  c4e::Light light;
  light.targetId = 1;
  light.position = {0, 100, 0};
  scene.lights.push_back(light);
  return c4e::WriteScene(scene);
}

const std::vector<uint8_t>& SceneBytes(int* triangles = nullptr) {
  static int count = 0;
  static const std::vector<uint8_t> bytes = BenchScene(&count);
  if (triangles) *triangles = count;
  return bytes;
}

// A headless device shared by the GPU variants; null when none starts.
testing_support::GpuTestDevice* Gpu() {
  static testing_support::GpuTestDevice* gpu = [] {
    auto* device = new testing_support::GpuTestDevice;
    if (!device->Create(64, 64)) {
      delete device;
      return static_cast<testing_support::GpuTestDevice*>(nullptr);
    }
    return device;
  }();
  return gpu;
}

RenderContext ContextFor(bool withDevice) {
  RenderContext context;
  if (withDevice) {
    context.device = Gpu()->device;
    context.context = Gpu()->context;
  }
  return context;
}

void BM_LoadScene(benchmark::State& state) {
  const bool withDevice = state.range(0) != 0;
  if (withDevice && !Gpu()) {
    state.SkipWithError("no GL device");
    return;
  }
  int triangles = 0;
  const std::vector<uint8_t>& bytes = SceneBytes(&triangles);
  for (auto _ : state) {
    SceneLoader loader(ContextFor(withDevice));
    if (!loader.LoadFromMemory("bench.c4e", bytes)) state.SkipWithError("load failed");
    benchmark::DoNotOptimize(loader.scenes.back()->polygonTotal);
  }
  state.counters["triangles"] = triangles;
  state.counters["file_kb"] = static_cast<double>(bytes.size()) / 1024.0;
  state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * bytes.size()));
}
BENCHMARK(BM_LoadScene)->ArgName("gpu")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_UpdateFrame(benchmark::State& state) {
  const bool withDevice = state.range(0) != 0;
  if (withDevice && !Gpu()) {
    state.SkipWithError("no GL device");
    return;
  }
  SceneLoader loader(ContextFor(withDevice));
  if (!loader.LoadFromMemory("bench.c4e", SceneBytes())) {
    state.SkipWithError("load failed");
    return;
  }
  Scene& scene = *loader.scenes.back();
  scene.Restart();
  scene.currentCamera = 0;
  int64_t demoTime = 0;
  for (auto _ : state) {
    demoTime += 17;
    scene.Update(demoTime, 17);
    benchmark::DoNotOptimize(scene.cameras[0]->view);
  }
  state.counters["frames_per_s"] = benchmark::Counter(static_cast<double>(state.iterations()), benchmark::Counter::kIsRate);
}
BENCHMARK(BM_UpdateFrame)->ArgName("gpu")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
