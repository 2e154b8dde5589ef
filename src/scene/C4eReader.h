#pragma once
// Reads the primitives of a .c4e file from memory, front to back. Every read checks that
// the bytes are there, so a truncated file fails at the field it ends in.
#include <cstddef>
#include <cstdint>
#include <string>

#include "math/d3dx_math.h"

class C4eReader {
 public:
  C4eReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

  bool ReadInt32(int32_t* value);
  bool ReadFloat(float* value);
  // One byte; any value but 0 is true.
  bool ReadFlag(bool* value);
  bool ReadId64(uint64_t* value);
  bool ReadVec3(D3DXVECTOR3* value);
  // Length field (ignored), bytes up to the first zero byte, the zero byte.
  bool ReadString(std::string* value);
  // Reads an int32 and checks it equals tag.
  bool ExpectTag(int32_t tag);
  // Reads a record count; false when it is negative or when that many records of at least
  // minimumRecordBytes each cannot fit in the rest of the file.
  bool ReadCount(int32_t* count, size_t minimumRecordBytes);
  bool CanHold(int64_t count, size_t minimumRecordBytes) const;

  size_t Remaining() const { return m_size - m_position; }
  size_t Position() const { return m_position; }

 private:
  bool ReadBytes(void* out, size_t size);

  const uint8_t* m_data;
  size_t m_size;
  size_t m_position = 0;
};
