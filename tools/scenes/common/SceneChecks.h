#pragma once
// What a generated scene must satisfy before it goes into the archive: sound references and
// morph data, and the show's budgets for one scene on a software rasteriser.
#include <cstdint>
#include <string>
#include <vector>

#include "C4eWriter.h"

namespace kit {

struct SceneBudget {
  int maxTriangles = 60000;
  int maxMorphingVertices = 15000;  // the vertices of every mesh with morph keys, summed
  int maxLights = 8;                // the material program has room for eight
};

struct SceneFigures {
  int meshes = 0;
  int dummies = 0;
  int triangles = 0;
  int morphingVertices = 0;
  int cameras = 0;
  int lights = 0;
  int32_t lastFrame = 0;  // the latest key of any track or morph sequence: the scene's length
};

SceneFigures Measure(const c4e::Scene& scene);

// Every fault found, one sentence each; empty when the scene is sound and within the budget.
// Checks: at least one camera and one light; triangle, morph and light budgets; triangle indices
// in range and one uv record per triangle; every morph key the mesh's vertex count; keys
// starting at frame 0 and strictly ascending; material names, parents and targets that exist.
std::vector<std::string> SceneProblems(const c4e::Scene& scene, const SceneBudget& budget = {});

// The texture file names the scene's materials name, each once, in material order (reflection
// maps as written; the loader asks for them with "dds" after the last ".").
std::vector<std::string> TextureNames(const c4e::Scene& scene);

}  // namespace kit
