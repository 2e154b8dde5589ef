// pulsar-dev-soak SECONDS DEMO.DAT STAGE_DIR
// Development mode under abuse for SECONDS: random seeks, pauses and overlay toggles, shaders
// saved broken and whole again, deleted and put back, scenes and their pictures rebuilt, cut
// short and deleted, all while the show plays headless. Fails (exit 1) when the live Direct3D
// objects grow from one quiet point to the next, or when the music is not where the picture is.
// Run it in the sanitize build so every memory fault and leak is reported too.
#include <SDL.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <deque>
#include <filesystem>
#include <random>
#include <set>
#include <string>

#include "app/Application.h"
#include "app/DevControls.h"
#include "app/LiveReload.h"
#include "app/Timer.h"
#include "demo/Demo.h"
#include "platform/dxgi/unknown.h"
#include "sound/Sound.h"
#include "support/FileTree.h"
#include "support/GlDriver.h"

namespace fs = std::filesystem;

namespace {

void Key(SDL_Keycode key, bool down) {
  SDL_Event event{};
  event.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  event.key.keysym.sym = key;
  SDL_PushEvent(&event);
}

// What the audio device holds in its buffers and one frame of the show on a loaded machine.
constexpr int64_t kPlayingTolerance = 250;

struct Soak {
  Application* app = nullptr;
  fs::path shaders;
  fs::path stage;
  fs::path builtStage;
  std::mt19937 random{20261208};
  int seeks = 0;
  int edits = 0;
  int sceneWrites = 0;
  std::set<std::string> touchedShaders;
  std::set<std::string> touchedScenes;
  // What was done last, for the report when the music is found out of step.
  std::deque<std::string> recent;

  void Remember(const std::string& what) {
    const Sound* sound = app->demo()->m_pSound;
    char line[200];
    std::snprintf(line, sizeof(line), "%s -> show %lld ms%s, music frame %lld, live objects %ld", what.c_str(),
                  static_cast<long long>(app->devControls()->ShowTime()), app->devControls()->paused() ? " paused" : "",
                  static_cast<long long>(sound ? sound->PositionFrames() : -1), IUnknown::LiveObjectCount());
    recent.push_back(line);
    if (recent.size() > 48) recent.pop_front();
  }

  void PrintRecent() const {
    for (const std::string& line : recent) std::fprintf(stderr, "  %s\n", line.c_str());
  }

  void Frames(int frames) {
    int drawn = 0;
    app->RunFrames([&](int32_t fps) { return app->demo()->Frame(fps) && ++drawn < frames; });
  }

  int Pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); }

  void PressSomething() {
    static const SDL_Keycode kKeys[] = {SDLK_LEFT, SDLK_RIGHT, SDLK_PAGEUP, SDLK_PAGEDOWN, SDLK_HOME, SDLK_SPACE, SDLK_d};
    const SDL_Keycode key = kKeys[Pick(7)];
    const bool shift = Pick(3) == 0;
    if (shift) Key(SDLK_LSHIFT, true);
    Key(key, true);
    Key(key, false);
    if (shift) Key(SDLK_LSHIFT, false);
    seeks += key != SDLK_SPACE && key != SDLK_d ? 1 : 0;
    Frames(shift ? 4 : 2);
    Remember(std::string(shift ? "Shift+" : "") + SDL_GetKeyName(key));
  }

  void EditShader() {
    static const char* const kFiles[] = {"blur_PS.hlsl", "texmix_PS.hlsl", "c4e_PS.hlsl", "depth_PS.hlsl",
                                         "billboard_GS.hlsl"};
    const fs::path file = shaders / kFiles[Pick(5)];
    const std::string original = ReadWholeFile(fs::path(PULSAR_SOURCE_DIR) / "content" / "shaders" / file.filename());
    switch (Pick(3)) {
      case 0: WriteWholeFile(file, original.substr(0, original.size() / 2) + "\n}}} not a shader\n"); break;
      case 1: fs::remove(file); break;
      default: WriteWholeFile(file, original); break;
    }
    ++edits;
    touchedShaders.insert(file.filename().string());
    Frames(1 + Pick(3));
    Remember("edited " + file.filename().string());
  }

  void WriteScene() {
    // Scenes and pictures the scenes hold (a flat one and a cube map).
    static const char* const kScenes[] = {"magnet.c4e",       "zelle.c4e",    "tunnel1.c4e",
                                          "logo.c4e",         "magnet_plate.png", "zelle_membrane.png",
                                          "magnet_env.dds"};
    const char* name = kScenes[Pick(7)];
    const std::string bytes = ReadWholeFile(builtStage / name);
    switch (Pick(3)) {
      case 0: WriteWholeFile(stage / name, bytes.substr(0, static_cast<size_t>(Pick(static_cast<int>(bytes.size()))))); break;
      case 1: fs::remove(stage / name); break;
      default: WriteWholeFile(stage / name, bytes); break;
    }
    ++sceneWrites;
    touchedScenes.insert(name);
    Frames(1 + Pick(3));
    Remember(std::string("wrote ") + name);
  }

  // Draws once what is made on first use and kept (the overlay font's pipeline and glyphs, the
  // problem box), so that the quiet points compare like with like.
  void WarmUp() {
    const std::string name = "c4e_PS.hlsl";
    WriteWholeFile(shaders / name, "not a shader\n");
    Frames(2);
    app->demo()->m_bDebugView = 1;
    Frames(2);
    touchedShaders.insert(name);
  }

  // Every touched source whole again and taken in, the show playing: the same objects should
  // be alive.
  long Quiet() {
    for (const std::string& name : touchedShaders)
      WriteWholeFile(shaders / name, ReadWholeFile(fs::path(PULSAR_SOURCE_DIR) / "content" / "shaders" / name));
    for (const std::string& name : touchedScenes) WriteWholeFile(stage / name, ReadWholeFile(builtStage / name));
    touchedShaders.clear();
    touchedScenes.clear();
    app->devControls()->SetPaused(false);
    app->demo()->m_bDebugView = 0;
    Frames(3);
    return IUnknown::LiveObjectCount();
  }

  // Playing, the music is heard where the show is (the audio device buffers a little ahead);
  // paused, it stands where the picture stands, to the sample.
  bool MusicInStep() {
    const Sound* playing = app->demo()->m_pSound;
    if (playing && playing->stream != 0 && !app->devControls()->paused() && app->timer()->elapsed < 200000) {
      // The audio thread may be starved for a while on a loaded machine; it catches up at its
      // next buffer, so one of a few readings must agree.
      int64_t heardMs = 0, shownMs = 0;
      for (int attempt = 0; attempt < 5; ++attempt) {
        heardMs = playing->PositionFrames() * 1000 / Sound::kFrequency;
        shownMs = app->timer()->elapsed;
        if (std::llabs(heardMs - shownMs) <= kPlayingTolerance) break;
        Frames(1);
      }
      if (std::llabs(heardMs - shownMs) > kPlayingTolerance) {
        std::fprintf(stderr, "music heard at %lld ms while the show is at %lld ms, after\n",
                     static_cast<long long>(heardMs), static_cast<long long>(shownMs));
        PrintRecent();
        return false;
      }
    }
    // Keys still on their way would act in the frames below.
    for (int i = 0; i < 50 && SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, SDL_KEYDOWN, SDL_KEYUP) > 0; ++i) Frames(1);
    Remember("keys taken");
    app->devControls()->SetPaused(true);
    Remember("paused for the check");
    Frames(1);
    const Sound* sound = app->demo()->m_pSound;
    if (!sound || sound->stream == 0) return true;
    const int64_t expected =
        static_cast<int64_t>(static_cast<double>(app->devControls()->ShowTime()) / 1000.0 * Sound::kFrequency);
    const int64_t heard = sound->PositionFrames();
    if (heard == expected) return true;
    std::fprintf(stderr, "music at frame %lld, picture at %lld ms (frame %lld), after\n", static_cast<long long>(heard),
                 static_cast<long long>(app->devControls()->ShowTime()), static_cast<long long>(expected));
    PrintRecent();
    return false;
  }
};

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: pulsar-dev-soak SECONDS DEMO.DAT STAGE_DIR\n");
    return 2;
  }
  const int seconds = std::atoi(argv[1]);
  setenv("SDL_VIDEODRIVER", "offscreen", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);

  const fs::path sources = fs::temp_directory_path() / ("pulsar-dev-soak-" + std::to_string(getpid()));
  fs::create_directories(sources / "build" / "stage" / "engine_data");
  fs::create_directories(sources / "content" / "shaders");
  fs::copy(fs::path(PULSAR_SOURCE_DIR) / "content" / "shaders", sources / "content" / "shaders");

  ShowOptions options;
  options.headless = true;
  options.fullScreen = false;
  options.width = 160;
  options.height = 90;
  options.dataFile = argv[2];
  options.vsync = false;
  options.dev = true;
  options.devSourceDirectory = sources.string();

  int status = 0;
  Application app(options);
  if (app.Initialize()) {
    // What the GL driver holds must not look leaked when it is unloaded at exit.
    KeepGlDriverMapped();
    Soak soak;
    soak.app = &app;
    soak.shaders = LiveReload::ShaderDirectory(sources.string());
    soak.stage = LiveReload::StageDirectory((sources / "build").string());
    soak.builtStage = argv[3];
    soak.Frames(5);
    soak.WarmUp();
    const long baseline = soak.Quiet();
    const auto end = std::chrono::steady_clock::now() + std::chrono::seconds(seconds);
    int rounds = 0;
    while (std::chrono::steady_clock::now() < end && status == 0) {
      for (int i = 0; i < 40; ++i) {
        const int what = soak.Pick(20);
        if (what < 17) soak.PressSomething();
        else if (what < 19) soak.EditShader();
        else soak.WriteScene();
      }
      if (!soak.MusicInStep()) status = 1;
      const long live = soak.Quiet();
      ++rounds;
      std::printf("round %d: %d seeks, %d shader edits, %d scene writes; live objects %ld (at the start %ld)\n",
                  rounds, soak.seeks, soak.edits, soak.sceneWrites, live, baseline);
      std::fflush(stdout);
      if (live != baseline) {
        std::fprintf(stderr, "live objects grew from %ld to %ld, after\n", baseline, live);
        soak.PrintRecent();
        status = 1;
      }
    }
  } else {
    std::fprintf(stderr, "the show did not start\n");
    status = 1;
  }
  app.Shutdown();
  fs::remove_all(sources);
  std::printf("%s\n", status == 0 ? "soak passed" : "soak FAILED");
  return status;
}
