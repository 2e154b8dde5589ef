#pragma once
// Small valid scenes that start the fuzzer off in every section of the format.
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace fuzz_seeds {

// (file name, bytes) of each seed.
std::vector<std::pair<std::string, std::vector<uint8_t>>> SeedScenes();

}  // namespace fuzz_seeds
