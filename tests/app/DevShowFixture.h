#pragma once
// The whole show in development mode, headless, on the built archive and a clock stepped one
// frame of 25 per pass, driven by key events as the window would deliver them.
#include <SDL.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <memory>
#include <optional>
#include <vector>

#include "app/Application.h"
#include "support/ScopedEnvironment.h"
#include "support/TempDirectory.h"

namespace dev_test {

// The archive the build packed; tests skip without one.
std::filesystem::path BuiltArchive();
// The build's data stage and the repository.
std::filesystem::path BuiltStage();
std::filesystem::path SourceDirectory();

class DevShowFixture : public ::testing::Test {
 protected:
  static constexpr int64_t kStep = 40;

  void SetUp() override;
  void TearDown() override;

  // Headless 160 × 90 on the stepped clock, starting at startAt; dev mode unless told not.
  ShowOptions Options(int64_t startAt, bool dev = true) const;
  // Initialises the show; false when it could not start.
  bool Start(const ShowOptions& options);
  void Stop();
  // Runs passes of the frame loop until frames were drawn; the show time of each is kept.
  void Frames(int frames);
  // A key pressed and let go, with Shift held when asked: passes run until the window has
  // delivered all of it. Returns the show time of the frame drawn in the pass the key went
  // down in.
  int64_t Press(SDL_Keycode key, bool shift = false);
  std::vector<uint8_t> Pixels() const;
  int64_t Now() const;

  TempDirectory runtime;
  std::optional<ScopedEnvironment> runtimeEnvironment;
  std::unique_ptr<Application> app;
  std::vector<int64_t> frameTimes;
};

}  // namespace dev_test
