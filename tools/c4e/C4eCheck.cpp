// c4e_check <file.c4e>...: reads each scene file with the show's own reader (no GPU) and prints
// its statistics line and end time, or the message the show would stop with. Exit code 1 when
// any file fails, so scene generators can check their output at build time.
#include <cstdio>
#include <fstream>
#include <iterator>
#include <vector>

#include "gfx/RenderContext.h"
#include "scene/Scene.h"
#include "scene/SceneAssembly.h"
#include "scene/SceneFileReader.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: c4e_check <file.c4e>...\n");
    return 2;
  }
  int failures = 0;
  for (int i = 1; i < argc; ++i) {
    std::ifstream file(argv[i], std::ios::binary);
    if (!file) {
      std::printf("%s: open file\n", argv[i]);
      ++failures;
      continue;
    }
    const std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    Scene scene{RenderContext{}};
    SceneFileReader reader(bytes.data(), bytes.size());
    if (const char* failure = reader.Read(&scene)) {
      std::printf("%s: %s\n", argv[i], failure);
      ++failures;
      continue;
    }
    AssembleScene(&scene, nullptr, nullptr);
    std::printf("%s: %s, end:%lldms\n", argv[i], scene.StatisticsLine().c_str(),
                static_cast<long long>(scene.endTime));
  }
  return failures ? 1 : 0;
}
