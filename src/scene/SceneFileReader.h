#pragma once
// Reads a whole .c4e file from memory into a Scene, checking every tag in the file's order,
// every field against the end of the data, every count against what is left, and every index
// and reference against what the file holds. On failure the message names the failing step.
#include <cstddef>
#include <cstdint>

class C4eReader;
class Material;
class PolyObject;
class Scene;
class SceneObject;

class SceneFileReader {
 public:
  // Called after each material record; false fails the load with "materials".
  using MaterialHandler = bool (*)(void* owner, Material* material);

  SceneFileReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

  // nullptr on success, else the message of the step that failed ("file format", "materials" …).
  const char* Read(Scene* scene, MaterialHandler onMaterial = nullptr, void* owner = nullptr);

 private:
  const uint8_t* m_data;
  size_t m_size;
};
