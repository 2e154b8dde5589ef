#include "app/launcher/LauncherDialog.h"

#include <dlfcn.h>

#include <cstdio>
#include <filesystem>
#include <string>

#include "app/ArchiveLocation.h"
#include "app/launcher/LauncherModule.h"

#ifndef PULSAR_LAUNCHER_FROM_PROGRAM
#define PULSAR_LAUNCHER_FROM_PROGRAM "../lib/pulsar"
#endif

namespace {

// Beside the program (the build tree), then where the installed show keeps it. Loaded once and
// kept: the toolkit cannot be unloaded.
void* LoadLauncherModule(std::string* error) {
  static void* module = nullptr;
  if (module != nullptr) return module;
  const std::filesystem::path program(ProgramDirectory());
  for (const std::filesystem::path& candidate :
       {program / kLauncherModuleName, (program / PULSAR_LAUNCHER_FROM_PROGRAM / kLauncherModuleName).lexically_normal()}) {
    module = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (module != nullptr) return module;
    const char* reason = dlerror();
    if (error->empty() || std::filesystem::exists(candidate)) *error = reason != nullptr ? reason : candidate.string();
  }
  return nullptr;
}

}  // namespace

bool ShowLauncherDialog(bool vsync) {
  std::string error;
  void* module = LoadLauncherModule(&error);
  const auto open = module != nullptr ? reinterpret_cast<bool (*)()>(dlsym(module, "PulsarLauncherOpenDisplay")) : nullptr;
  const auto run = module != nullptr ? reinterpret_cast<void (*)(const LauncherContents*, LaunchSettings*)>(
                                           dlsym(module, "PulsarLauncherRun"))
                                     : nullptr;
  if (open == nullptr || run == nullptr) {
    std::fprintf(stderr, "The launcher could not be loaded (%s); starting with the command line's choices.\n",
                 error.empty() ? "its module lacks the dialog" : error.c_str());
    return false;
  }
  if (!open()) {
    std::fprintf(stderr, "The launcher found no display to open; starting with the command line's choices.\n");
    return false;
  }
  LaunchSettings* settings = &TheLaunchSettings();
  const LauncherContents contents = PrepareLauncher(vsync, settings);
  run(&contents, settings);
  return true;
}
