// The particle systems of the show: the CPU cost of the 20,000-speck system's update and upload
// per frame, the draw cost of each of the five systems on llvmpipe, and optionally a picture of
// each drawn from its own eye point over black with the music at half level.
//   pulsar-particle-bench [WIDTHxHEIGHT] [--png FOLDER]
#include <epoxy/gl.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "ParticleRig.h"
#include "StepTiming.h"
#include "support/ImageFixtures.h"

namespace {

namespace fs = std::filesystem;
bool PrepareDataDirectory(const fs::path& data) {
  fs::create_directories(data);
  std::error_code ec;
  for (const auto& entry : fs::directory_iterator(PULSAR_SHADER_SOURCE_DIR, ec))
    if (!fs::copy_file(entry.path(), data / entry.path().filename(), fs::copy_options::overwrite_existing, ec))
      return false;
  for (const char* name : {"formula.jpg", "particletexture.jpg", "ring.jpg"})
    if (!fs::copy_file(fs::path(PULSAR_DATA_STAGE) / name, data / name, fs::copy_options::overwrite_existing, ec)) {
      std::fprintf(stderr, "pulsar-particle-bench: %s is not staged yet (build content_images)\n", name);
      return false;
    }
  return true;
}

struct ShowSystem {
  const char* member;
  int32_t preset;
};
const ShowSystem kShowSystems[] = {
    {"m_pSB1", 7}, {"m_pSB2", 8}, {"m_pSB_Zelle1", 10}, {"m_pSB_Zelle2", 11}, {"m_pSB_Qualle", 18},
};

}  // namespace

int main(int argc, char** argv) {
  int width = 640, height = 360;
  std::string pngFolder;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--png") == 0 && i + 1 < argc) {
      pngFolder = fs::absolute(argv[++i]).string();
    } else if (std::sscanf(argv[i], "%dx%d", &width, &height) != 2) {
      std::fprintf(stderr, "usage: pulsar-particle-bench [WIDTHxHEIGHT] [--png FOLDER]\n");
      return 2;
    }
  }
  const fs::path root = fs::temp_directory_path() / "pulsar-particle-bench";
  fs::remove_all(root);
  if (!PrepareDataDirectory(root / "engine_data")) return 1;
  fs::current_path(root);

  int result = 0;
  {
    ParticleRig rig;
    const std::string failed = rig.Create(width, height);
    if (!failed.empty()) {
      std::fprintf(stderr, "pulsar-particle-bench: cannot create the %s\n", failed.c_str());
      return 1;
    }
    // Created as the show creates them, so the specks continue the shells' random sequence.
    std::vector<std::unique_ptr<ParticleSystem>> systems;
    for (const ShowSystem& show : kShowSystems) {
      systems.push_back(std::make_unique<ParticleSystem>(rig.rc));
      if (!systems.back()->Create(GetParticlePreset(show.preset))) {
        std::fprintf(stderr, "pulsar-particle-bench: %s->Create failed\n", show.member);
        return 1;
      }
    }

    ParticleSystem& specks = *systems.back();
    rig.timer.delta = 16;
    rig.timer.elapsed = 0;
    auto nextFrame = [&] { rig.timer.elapsed += rig.timer.delta; };
    const int cpuIterations = 400;
    const Figures update = Measure(cpuIterations, [&] { nextFrame(); specks.Update(); });
    const Figures upload = Measure(cpuIterations, [&] { specks.Upload(); });
    const Figures both = Measure(cpuIterations, [&] { nextFrame(); specks.Update(); specks.Upload(); });
    std::printf("type-18 system, %d specks, per frame (median / best, ms):\n", specks.count);
    std::printf("  update            %.4f / %.4f\n", update.median, update.best);
    std::printf("  upload            %.4f / %.4f\n", upload.median, upload.best);
    std::printf("  update + upload   %.4f / %.4f   (goal 0.3)\n", both.median, both.best);

    // Draw cost: clear, draw and wait for llvmpipe, less the clear and wait alone.
    rig.sound.peak = 0.5f;
    const int drawIterations = 20;
    const Figures empty = Measure(drawIterations, [&] {
      rig.gpu.Clear(0.0f, 0.0f, 0.0f, 1.0f);
      glFinish();
    });
    std::printf("draw at %dx%d on llvmpipe, less %.3f ms for the clear (median / best, ms):\n", width, height,
                empty.median);
    for (size_t i = 0; i < systems.size(); ++i) {
      ParticleSystem& system = *systems[i];
      D3DXMATRIX world;
      D3DXMatrixIdentity(&world);
      for (int warm = 0; warm < 3; ++warm) rig.DrawFromEye(system, world);
      const Figures draw = Measure(drawIterations, [&] {
        nextFrame();
        rig.DrawFromEye(system, world);
        glFinish();
      });
      std::printf("  %-13s preset %2d  %6d particles  %8.3f / %8.3f\n", kShowSystems[i].member,
                  kShowSystems[i].preset, system.count, draw.median - empty.median, draw.best - empty.best);
      if (!pngFolder.empty()) {
        rig.timer.elapsed = 1000;
        rig.DrawFromEye(system, world);
        char name[64];
        std::snprintf(name, sizeof name, "particles_preset_%02d.png", kShowSystems[i].preset);
        // The sprites write alpha 0 (their blend keeps the source's alpha); the picture is opaque.
        std::vector<uint8_t> pixels = rig.Pixels();
        for (size_t p = 3; p < pixels.size(); p += 4) pixels[p] = 255;
        WriteBytes(fs::path(pngFolder) / name, EncodePng(width, height, pixels));
        std::printf("    wrote %s/%s\n", pngFolder.c_str(), name);
      }
    }
    systems.clear();
  }
  fs::current_path(fs::temp_directory_path());
  fs::remove_all(root);
  return result;
}
