#include "scene/Material.h"

#include <algorithm>

Material Material::MakeDefault() {
  Material material;
  material.hasDiffuse = true;
  material.diffuseColor = D3DXCOLOR(0.5f, 0.5f, 0.5f, 0.0f);
  material.diffuseValue = 1.0f;
  return material;
}

std::string ReflectionTextureName(const std::string& fileName) {
  const size_t dot = fileName.rfind('.');
  if (dot == std::string::npos) return fileName;
  std::string rewritten = fileName;
  const size_t replaced = std::min<size_t>(3, fileName.size() - dot - 1);
  rewritten.replace(dot + 1, replaced, "dds");
  return rewritten;
}
