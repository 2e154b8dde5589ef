#include "Generator.h"

#include <cstdio>

#include "SceneChecks.h"

namespace kit {

bool WriteCheckedScene(const c4e::Scene& scene, const std::string& directory, const std::string& fileName) {
  const std::vector<std::string> problems = SceneProblems(scene);
  for (const std::string& problem : problems) std::fprintf(stderr, "%s: %s\n", fileName.c_str(), problem.c_str());
  if (!problems.empty()) return false;
  if (!c4e::WriteSceneFile(scene, directory + "/" + fileName)) {
    std::fprintf(stderr, "%s: cannot write into %s\n", fileName.c_str(), directory.c_str());
    return false;
  }
  const SceneFigures f = Measure(scene);
  std::printf("%s: %d meshes, %d dummies, %d triangles, %d morphing vertices, %d cameras, %d lights, last frame %d\n",
              fileName.c_str(), f.meshes, f.dummies, f.triangles, f.morphingVertices, f.cameras, f.lights, f.lastFrame);
  return true;
}

int GeneratorMain(int argc, char** argv, const std::function<bool(const std::string& directory)>& write) {
  const char* program = argc > 0 ? argv[0] : "generator";
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <output directory>\n", program);
    return 2;
  }
  if (!write(argv[1])) {
    std::fprintf(stderr, "%s: could not write its content into %s\n", program, argv[1]);
    return 1;
  }
  return 0;
}

}  // namespace kit
