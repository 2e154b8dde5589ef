#pragma once
// Pixel programs compiled from one HLSL file with macros that fix some of its switches, one per
// key. Each is translated on a worker thread (or read from the shader cache) and created on the
// drawing thread once its translation is done; until then a draw uses the general program,
// which gives the same pixels, only slower.
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
  // Asks for the program of key; it is translated with the next batch.
  void Request(uint32_t key);
  // The program of key when it has been made; null while it is being made (asking for it when
  // nobody has yet) and when it could not be made. With waitToFind it is made first.
  ID3D11PixelShader* Find(uint32_t key);
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
  // Creates the finished batch's programs (waiting for it when wait), then starts the next.
  void Collect(bool wait);
  void StartBatch();

  ID3D11Device* m_device = nullptr;
  Recipe m_recipe;
  std::unordered_map<uint32_t, ID3D11PixelShader*> m_made;  // null: could not be made
  std::vector<uint32_t> m_waiting;                          // asked for, not yet in a batch
  std::vector<uint32_t> m_inBatch;                          // in the batch under way
  std::future<std::vector<Translated>> m_batch;
  bool m_allMade = true;
};
