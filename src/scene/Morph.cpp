#include "scene/Morph.h"

#include <algorithm>

#include "scene/MeshBuffers.h"
#include "scene/KeySpan.h"
#include "scene/MeshBuilder.h"
#include "scene/Track.h"

void EvaluateMorph(PolyObject* mesh, int64_t time) {
  if (mesh->morphKeys.size() < 2) return;
  KeySpan span;
  const auto& keys = mesh->morphKeys;
  if (!FindKeySpan(keys.size(), time, [&keys](size_t i) { return keys[i]->time; }, &span)) return;
  const size_t prev = span.prev, next = span.next;
  const float s = span.s;
  const MorphKey& a = *mesh->morphKeys[prev];
  const MorphKey& b = *mesh->morphKeys[next];
  const size_t count = std::min<size_t>(static_cast<size_t>(a.vertexCount), mesh->currentPositions.size());
  for (size_t v = 0; v < count; ++v) {
    if (prev == next) {
      mesh->currentPositions[v] = a.positions[v];
      mesh->currentNormals[v] = a.normals[v];
      continue;
    }
    BlendKeyValue(a.interpolation, a.positions[v], b.positions[v], s, &mesh->currentPositions[v]);
    BlendKeyValue(a.interpolation, a.normals[v], b.normals[v], s, &mesh->currentNormals[v]);
  }
  RefillMorphVertexData(mesh);
  UploadVertexData(mesh);
}
