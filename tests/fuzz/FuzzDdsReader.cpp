// The DDS fuzz entry point: any bytes through the reader; a picture it accepts must lie
// wholly inside its data, level by level, as the texture upload reads it.
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>

#include "platform/d3dx/DecodedImage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  platform::d3dx::DecodedImage image;
  if (!platform::d3dx::DecodeDds(data, size, image)) return 0;
  if (image.levels.size() != static_cast<size_t>(image.mipLevels) * image.arraySize) std::abort();
  unsigned sum = 0;
  for (const platform::d3dx::ImageLevel& level : image.levels) {
    if (level.offset > image.data.size() || level.size > image.data.size() - level.offset) {
      std::fprintf(stderr, "a level lies outside the decoded data\n");
      std::abort();
    }
    for (size_t i = 0; i < level.size; i += 61) sum += image.data[level.offset + i];
  }
  return static_cast<int>(sum & 0);
}
