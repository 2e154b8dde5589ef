#pragma once
#include <string>

// Owns the seven shader programs, created in a fixed order at start-up and released in reverse.
#include "gfx/shaders/BillboardShader.h"
#include "gfx/shaders/C4eShader.h"
#include "gfx/shaders/DepthShader.h"
#include "gfx/shaders/PostProcessShader.h"
#include "gfx/shaders/BlurShader.h"
#include "gfx/shaders/SSAOShader.h"
#include "gfx/shaders/TexMixShader.h"

class Timer;

class ShaderManager {
 public:
  ShaderManager() = default;
  ShaderManager(const ShaderManager&) = delete;
  ShaderManager& operator=(const ShaderManager&) = delete;
  ~ShaderManager() { Shutdown(); }

  // Creates the programs in order; the first failure returns false and leaves the rest uncreated.
  // A program that cannot compile has shown its own message box.
  bool InitShaders(HWND window, ID3D11Device* device, ID3D11DeviceContext* context, Timer* timer);
  // Releases the programs, the last created first.
  void Shutdown();
  // Compiles the program that reads fileName (for example "c4e_PS.hlsl") again from the data
  // directory and, only when all of it compiles and links, puts the new code into the
  // existing program object, so every holder of it draws with the new code from then on.
  // False, with the old code kept, when it fails (the compiler's box says why) or when no
  // program reads that file (*known is then false).
  bool ReloadProgramOf(const std::string& fileName, bool* known);
  // Draws wait for the specialised programs they ask for (reproducible runs) or, by default,
  // use the general program until theirs is made.
  void WaitForSpecialisedPrograms(bool wait);
  // Creates at most one translated specialised program of each set; once a frame.
  void MakeNextSpecialisedPrograms();

  BillboardShader* billboardShader = nullptr;
  C4eShader* c4eShader = nullptr;
  DepthShader* depthShader = nullptr;
  PostProcessShader* postProcessShader = nullptr;
  SSAOShader* ssaoShader = nullptr;
  TexMixShader* texMixShader = nullptr;
  BlurShader* blurShader = nullptr;
};
