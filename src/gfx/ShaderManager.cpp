#include "gfx/ShaderManager.h"

#include <new>

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

}  // namespace

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
