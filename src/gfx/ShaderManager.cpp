#include "gfx/ShaderManager.h"

#include <new>
#include <utility>

#include "gfx/ShutdownAndDelete.h"

namespace {

// Allocates, hands over the borrowed pointers, creates the samplers and runs the program's own
// initialisation. The program stays in `slot` even when it fails, so Shutdown releases it.
template <class Program>
bool CreateProgram(Program*& slot, HWND window, ID3D11Device* device, ID3D11DeviceContext* context, Timer* timer) {
  slot = new (std::nothrow) Program();
  if (slot == nullptr) return false;
  slot->window = window;
  slot->device = device;
  slot->context = context;
  slot->timer = timer;
  return slot->CreateSamplers() && slot->Initialize();
}

// Builds a second program of the same kind on the same device; when it is complete its
// shaders and layout change places with the live program's, and the second program releases
// the old ones with its own buffers and samplers.
template <class Program>
bool ReplaceProgram(Program* live) {
  if (live == nullptr) return false;
  Program fresh;
  fresh.window = live->window;
  fresh.device = live->device;
  fresh.context = live->context;
  fresh.timer = live->timer;
  bool ok = fresh.CreateSamplers() && fresh.Initialize();
  if constexpr (requires { live->variants.Swap(fresh.variants); }) {
    // The specialised programs change places too, so none from the old source stays in use;
    // the ones the fresh program asked for at its start must all compile.
    ok = ok && fresh.variants.WaitForAll();
    if (ok) live->variants.Swap(fresh.variants);
  }
  if (ok) {
    std::swap(fresh.vertexShader, live->vertexShader);
    std::swap(fresh.geometryShader, live->geometryShader);
    std::swap(fresh.pixelShader, live->pixelShader);
    std::swap(fresh.inputLayout, live->inputLayout);
  }
  fresh.Shutdown();
  return ok;
}

}  // namespace

bool ShaderManager::ReloadProgramOf(const std::string& fileName, bool* known) {
  // Every program reads the files named after it: "<program>_VS.hlsl", "_GS", "_PS".
  const std::string program = fileName.substr(0, fileName.rfind('_'));
  *known = true;
  if (program == "billboard") return ReplaceProgram(billboardShader);
  if (program == "c4e") return ReplaceProgram(c4eShader);
  if (program == "depth") return ReplaceProgram(depthShader);
  if (program == "postprocess") return ReplaceProgram(postProcessShader);
  if (program == "ssao") return ReplaceProgram(ssaoShader);
  if (program == "texmix") return ReplaceProgram(texMixShader);
  if (program == "blur") return ReplaceProgram(blurShader);
  *known = false;
  return false;
}

void ShaderManager::WaitForSpecialisedPrograms(bool wait) {
  if (postProcessShader != nullptr) postProcessShader->variants.waitToFind = wait;
  if (c4eShader != nullptr) c4eShader->variants.waitToFind = wait;
}

void ShaderManager::MakeNextSpecialisedPrograms() {
  if (postProcessShader != nullptr) postProcessShader->variants.MakeNext();
  if (c4eShader != nullptr) c4eShader->variants.MakeNext();
}

bool ShaderManager::InitShaders(HWND window, ID3D11Device* device, ID3D11DeviceContext* context, Timer* timer) {
  return CreateProgram(billboardShader, window, device, context, timer) &&
         CreateProgram(c4eShader, window, device, context, timer) &&
         CreateProgram(depthShader, window, device, context, timer) &&
         CreateProgram(postProcessShader, window, device, context, timer) &&
         CreateProgram(ssaoShader, window, device, context, timer) &&
         CreateProgram(texMixShader, window, device, context, timer) &&
         CreateProgram(blurShader, window, device, context, timer);
}

void ShaderManager::Shutdown() {
  ShutdownAndDelete(blurShader);
  ShutdownAndDelete(texMixShader);
  ShutdownAndDelete(ssaoShader);
  ShutdownAndDelete(postProcessShader);
  ShutdownAndDelete(depthShader);
  ShutdownAndDelete(c4eShader);
  ShutdownAndDelete(billboardShader);
}
