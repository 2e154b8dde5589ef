#pragma once
// The magnet scene's pictures: the diamond-plate floor and the workshop the chrome mirrors.
#include "Picture.h"

namespace magnet {

// Raised diamonds in a herring-bone on steel; tiles.
float PlateHeight(float u, float v);
kit::Picture PlatePicture(int size);
// The back wall: dark concrete panels, and the teal light strips along it as a luminance map.
kit::Picture WallPicture(int size);
kit::Picture WallGlow(int size);
// A dark workshop: teal strip lights on one side, an orange furnace glow on the other, a
// skylight above and a dark floor; for the cube map.
void WorkshopLight(float x, float y, float z, float rgb[3]);

}  // namespace magnet
