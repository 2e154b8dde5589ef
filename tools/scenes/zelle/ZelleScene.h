#pragma once
// The "zelle" scene: a translucent cell under the microscope dividing into two, then each
// daughter into two again. Membrane (front and back wall), nucleus with nucleoli, mitochondria
// and lipid droplets, the glowing spindle while a nucleus parts and the bright midbody left in
// each furrow. The show plays the first division forward and rewinds it, then jumps to the
// second and rewinds that too; the particle shells turn round it and a radial blur lies over it,
// so the cell keeps to the middle of the frame with dark room round it.
#include <cstdint>
#include <string>

#include "C4eWriter.h"

namespace zelle {

constexpr uint64_t kFocusId = 0x2E11E00000000001ull;

c4e::Scene ZelleScene();

// Writes "zelle.c4e", every picture it names and its caption "text_zelle.png" into directory; false when a file cannot be written.
bool WriteZelleContent(const std::string& directory);

}  // namespace zelle
