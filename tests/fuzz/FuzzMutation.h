#pragma once
// The deterministic stand-in for libFuzzer the ordinary build runs: every seed, every
// truncation of it, and seeded random mutations through one fuzz entry point.
#include <cstdint>
#include <random>
#include <string>
#include <utility>
#include <vector>

namespace fuzz_seeds {

using Seeds = std::vector<std::pair<std::string, std::vector<uint8_t>>>;

// Bit flips, words that make counts and offsets interesting, cuts and repeated ranges.
void Mutate(std::mt19937& random, std::vector<uint8_t>* bytes);

// Runs the entry point over the seeds as above; returns the number of inputs run.
long ReplaySeeds(const Seeds& seeds, long mutationsPerSeed, int (*entry)(const uint8_t*, size_t));

// Writes each seed into directory (the libFuzzer corpus); false with a message on failure.
bool WriteSeeds(const Seeds& seeds, const std::string& directory);

}  // namespace fuzz_seeds
