#include "app/MemoryZipStream.h"

#include <cstdio>
#include <cstring>

namespace {

struct Stream {
  MemoryZipBytes source;
  uint64_t position = 0;
};

voidpf ZCALLBACK Open(voidpf opaque, const void* /*name*/, int mode) {
  if ((mode & ZLIB_FILEFUNC_MODE_WRITE) != 0) return nullptr;  // read only
  return new Stream{*static_cast<MemoryZipBytes*>(opaque)};
}

uLong ZCALLBACK Read(voidpf /*opaque*/, voidpf stream, void* buffer, uLong size) {
  Stream& s = *static_cast<Stream*>(stream);
  if (s.position >= s.source.size) return 0;
  const uint64_t available = s.source.size - s.position;
  const uLong count = available < size ? static_cast<uLong>(available) : size;
  std::memcpy(buffer, s.source.bytes + s.position, count);
  s.position += count;
  return count;
}

uLong ZCALLBACK Write(voidpf /*opaque*/, voidpf /*stream*/, const void* /*buffer*/, uLong /*size*/) { return 0; }

ZPOS64_T ZCALLBACK Tell(voidpf /*opaque*/, voidpf stream) { return static_cast<Stream*>(stream)->position; }

long ZCALLBACK Seek(voidpf /*opaque*/, voidpf stream, ZPOS64_T offset, int origin) {
  Stream& s = *static_cast<Stream*>(stream);
  uint64_t base = 0;
  switch (origin) {
    case ZLIB_FILEFUNC_SEEK_SET: base = 0; break;
    case ZLIB_FILEFUNC_SEEK_CUR: base = s.position; break;
    case ZLIB_FILEFUNC_SEEK_END: base = s.source.size; break;
    default: return -1;
  }
  // The offset is signed, as for a file: minizip steps back over an entry's extra field with a
  // "negative" unsigned offset from the current position. Offsets come from the archive's own
  // (possibly damaged) directory: nothing before the start or past the end, where a file's seek
  // would leave reads empty anyway.
  const auto step = static_cast<int64_t>(offset);
  if (step < 0) {
    const uint64_t back = static_cast<uint64_t>(-(step + 1)) + 1;  // no overflow at INT64_MIN
    if (back > base) return -1;
    s.position = base - back;
  } else {
    if (static_cast<uint64_t>(step) > s.source.size - base) return -1;
    s.position = base + static_cast<uint64_t>(step);
  }
  return 0;
}

int ZCALLBACK Close(voidpf /*opaque*/, voidpf stream) {
  delete static_cast<Stream*>(stream);
  return 0;
}

int ZCALLBACK Error(voidpf /*opaque*/, voidpf /*stream*/) { return 0; }

}  // namespace

zlib_filefunc64_def MemoryZipFunctions(MemoryZipBytes* source) {
  zlib_filefunc64_def functions{};
  functions.zopen64_file = Open;
  functions.zread_file = Read;
  functions.zwrite_file = Write;
  functions.ztell64_file = Tell;
  functions.zseek64_file = Seek;
  functions.zclose_file = Close;
  functions.zerror_file = Error;
  functions.opaque = source;
  return functions;
}
