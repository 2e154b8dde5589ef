#include "scene/Light.h"

#include <algorithm>

bool Light::Lists(uint64_t objectId) const {
  return std::find(objectList.begin(), objectList.end(), objectId) != objectList.end();
}
