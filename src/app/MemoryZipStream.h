#pragma once
// Lets minizip read an archive that is already in memory (archive tests and fuzzing feed the
// reader bytes without a file).
#include <cstddef>
#include <cstdint>

#include <ioapi.h>

struct MemoryZipBytes {
  const uint8_t* bytes = nullptr;
  size_t size = 0;
};

// File functions over *source; the bytes must outlive every stream minizip opens through them.
zlib_filefunc64_def MemoryZipFunctions(MemoryZipBytes* source);
