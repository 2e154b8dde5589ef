#include "DevShowFixture.h"

#include <cstdlib>

#include "app/Timer.h"
#include "demo/Demo.h"
#include "gfx/D3D11Device.h"
#include "platform/clock.h"

namespace fs = std::filesystem;

namespace dev_test {

namespace {

fs::path FromEnvironment(const char* name) {
  const char* value = std::getenv(name);
  return fs::path(value ? value : ".");
}

void PushKey(Uint32 type, SDL_Keycode key) {
  SDL_Event event{};
  event.type = type;
  event.key.keysym.sym = key;
  SDL_PushEvent(&event);
}

}  // namespace

fs::path BuiltArchive() { return FromEnvironment("PULSAR_BINARY_DIR") / "demo.dat"; }
fs::path BuiltStage() { return FromEnvironment("PULSAR_BINARY_DIR") / "stage" / "engine_data"; }
fs::path SourceDirectory() { return FromEnvironment("PULSAR_SOURCE_DIR"); }

void DevShowFixture::SetUp() {
  if (!fs::exists(BuiltArchive())) GTEST_SKIP() << "no archive at " << BuiltArchive();
  runtimeEnvironment.emplace("XDG_RUNTIME_DIR", runtime.path().c_str());
}

void DevShowFixture::TearDown() { Stop(); }

ShowOptions DevShowFixture::Options(int64_t startAt, bool dev) const {
  ShowOptions options;
  options.headless = true;
  options.fullScreen = false;
  options.width = 160;
  options.height = 90;
  options.dataFile = BuiltArchive().string();
  options.steppedClock = true;
  options.startAtMs = startAt;
  options.dev = dev;
  return options;
}

bool DevShowFixture::Start(const ShowOptions& options) {
  Stop();
  app = std::make_unique<Application>(options);
  if (!app->Initialize()) return false;
  SDL_PumpEvents();
  SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  frameTimes.clear();
  return true;
}

void DevShowFixture::Stop() {
  if (!app) return;
  app->Shutdown();
  app.reset();
  platform::UseSteadyClock();
}

void DevShowFixture::Frames(int frames) {
  int drawn = 0;
  app->RunFrames([&](int32_t fps) {
    const bool ok = app->demo()->Frame(fps);
    frameTimes.push_back(app->timer()->elapsed);
    return ok && ++drawn < frames;
  });
}

int64_t DevShowFixture::Press(SDL_Keycode key, bool shift) {
  const auto pending = [](Uint32 type) { return SDL_PeepEvents(nullptr, 0, SDL_PEEKEVENT, type, type); };
  // The window's own events (shown, focus) would take passes of their own.
  SDL_PumpEvents();
  SDL_FlushEvents(SDL_FIRSTEVENT, SDL_LASTEVENT);
  if (shift) PushKey(SDL_KEYDOWN, SDLK_LSHIFT);
  PushKey(SDL_KEYDOWN, key);
  PushKey(SDL_KEYUP, key);
  if (shift) PushKey(SDL_KEYUP, SDLK_LSHIFT);
  int64_t landed = -1;
  for (int pass = 0; pass < 100 && (pending(SDL_KEYDOWN) > 0 || pending(SDL_KEYUP) > 0); ++pass) {
    Frames(1);
    if (landed < 0 && pending(SDL_KEYDOWN) == 0) landed = frameTimes.back();
  }
  return landed;
}

std::vector<uint8_t> DevShowFixture::Pixels() const {
  std::vector<uint8_t> pixels(160 * 90 * 4);
  if (!app->demo()->m_pD3D11->GetSwapChain()->ReadBackBuffer(pixels.data())) pixels.clear();
  return pixels;
}

int64_t DevShowFixture::Now() const { return app->timer()->elapsed; }

}  // namespace dev_test
