#pragma once
// What the two flag scenes share: the banner cloth's pictures, the dusk sky the metal mirrors,
// and the wind that moves every banner.
#include <string>

#include "Picture.h"
#include "VecMath.h"

namespace flag {

// Crimson cloth with the Pulsar emblem (a gold ring crossed by a pulse line) and gold hems;
// hoist at u = 0. Its colours are its own.
kit::Picture EmblemBanner(int width, int height);
// A pennant in grey tones, tinted by its material: a chevron and the small emblem.
kit::Picture PennantBanner(int width, int height);
// The weave of the cloth and a hem seam, as a tangent-space normal map that tiles.
kit::Picture ClothNormal(int size);
// The evening sky and a dark land below the horizon, sun low in the west (−x, +z side), for
// the reflection of poles and finials.
kit::Picture DuskPanorama(int width, int height);
void DuskLight(float x, float y, float z, float rgb[3]);

// A banner rest position (x from the hoist along the cloth, 0..length; y from the top edge,
// 0 down to −height; in units) moved by the wind at time seconds: travelling waves that grow towards the free edge,
// with gusts; the cloth shortens as it billows and droops in the lulls. seed varies the gusts
// and the wave phases so banners do not move in step. The banner lies in the x-y plane, waving
// along z.
kit::Vec3 Wind(kit::Vec3 rest, float length, float height, float seconds, unsigned seed);

}  // namespace flag
