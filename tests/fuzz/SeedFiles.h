#pragma once
// Seeds for the archive and image fuzzers: small zips with every kind of entry and name the
// unpacker meets (hostile names included), and DDS files of every format and layout it reads.
#include "FuzzMutation.h"

namespace fuzz_seeds {

Seeds SeedArchives();
Seeds SeedDdsImages();

}  // namespace fuzz_seeds
