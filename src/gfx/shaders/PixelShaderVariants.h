#pragma once
// Pixel programs compiled from one HLSL file with macros that fix some of its switches, one per
// key. Each is translated on a worker thread (or read from the shader cache), a few keys at a
// time in the order they were asked for, and created on the drawing thread once its
// translation is done; until then a draw uses the general program, which gives the same
// pixels, only slower. Creating a program costs the drawing thread a few milliseconds, so
// programs asked for ahead are created one per MakeNext, spread over frames.
#include <cstdint>
#include <functional>
#include <future>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "platform/d3d11/d3d11.h"

class PixelShaderVariants {
 public:
  using Defines = std::vector<std::pair<std::string, std::string>>;
  // The macros that make the program of a key; describe names a key in messages.
  struct Recipe {
    std::string path;
    std::string entryPoint;
    std::function<Defines(uint32_t key)> definesOf;
    std::function<std::string(uint32_t key)> describe;
  };

  PixelShaderVariants() = default;
  PixelShaderVariants(const PixelShaderVariants&) = delete;
  PixelShaderVariants& operator=(const PixelShaderVariants&) = delete;
  ~PixelShaderVariants() { Release(); }

  void Configure(ID3D11Device* device, Recipe recipe);
  // Asks for the program of key; it is translated after those asked for before it.
  void Request(uint32_t key);
  // The program of key when it has been made; null while it is being made (asking for it when
  // nobody has yet) and when it could not be made. A translated program is created at once.
  // With waitToFind it is made first.
  ID3D11PixelShader* Find(uint32_t key);
  // Creates the next translated program, if any; once a frame, so programs asked for ahead
  // are ready by the time a draw needs them.
  void MakeNext();
  // Whether the program of key has been made, or found impossible to make.
  bool Decided(uint32_t key) const { return m_made.count(key) != 0; }
  // Waits until every program asked for is made; false when one could not be.
  bool WaitForAll();
  // How many programs have been made.
  size_t MadeCount() const;
  // Releases every program; waits for a translation under way, which holds its own copies.
  void Release();
  // Trades programs, recipes and work under way with other (a reloaded program's set);
  // waitToFind stays with its holder.
  void Swap(PixelShaderVariants& other) noexcept;

  // Reproducible runs draw every frame with the programs a settled run uses: a Find waits for
  // its program instead of leaving the draw to the general one meanwhile.
  bool waitToFind = false;

 private:
  struct Translated {
    uint32_t key = 0;
    std::vector<uint8_t> code;
    std::string error;
  };
  // Takes the finished batch's translations (waiting for it when wait), then starts the next.
  void FetchBatch(bool wait);
  void StartBatch();
  // Creates the translated program of key, when it is among the translated ones.
  bool CreateTranslated(uint32_t key);
  void Create(const Translated& variant);

  ID3D11Device* m_device = nullptr;
  Recipe m_recipe;
  std::unordered_map<uint32_t, ID3D11PixelShader*> m_made;  // null: could not be made
  std::vector<uint32_t> m_waiting;                          // asked for, not yet in a batch
  std::vector<uint32_t> m_inBatch;                          // in the batch under way
  std::vector<Translated> m_translated;                     // translated, not yet created
  std::future<std::vector<Translated>> m_batch;
  bool m_allMade = true;
};
