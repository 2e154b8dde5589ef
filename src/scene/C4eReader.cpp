#include "scene/C4eReader.h"

#include <cstring>

bool C4eReader::ReadBytes(void* out, size_t size) {
  if (Remaining() < size) {
    m_position = m_size;
    return false;
  }
  std::memcpy(out, m_data + m_position, size);
  m_position += size;
  return true;
}

bool C4eReader::ReadInt32(int32_t* value) {
  uint8_t b[4];
  if (!ReadBytes(b, 4)) return false;
  const uint32_t bits = static_cast<uint32_t>(b[0]) | static_cast<uint32_t>(b[1]) << 8 |
                        static_cast<uint32_t>(b[2]) << 16 | static_cast<uint32_t>(b[3]) << 24;
  *value = static_cast<int32_t>(bits);
  return true;
}

bool C4eReader::ReadFloat(float* value) {
  int32_t bits;
  if (!ReadInt32(&bits)) return false;
  std::memcpy(value, &bits, 4);
  return true;
}

bool C4eReader::ReadFlag(bool* value) {
  uint8_t byte;
  if (!ReadBytes(&byte, 1)) return false;
  *value = byte != 0;
  return true;
}

bool C4eReader::ReadId64(uint64_t* value) {
  int32_t low, high;
  if (!ReadInt32(&low) || !ReadInt32(&high)) return false;
  *value = static_cast<uint64_t>(static_cast<uint32_t>(low)) | static_cast<uint64_t>(static_cast<uint32_t>(high)) << 32;
  return true;
}

bool C4eReader::ReadVec3(D3DXVECTOR3* value) {
  return ReadFloat(&value->x) && ReadFloat(&value->y) && ReadFloat(&value->z);
}

bool C4eReader::ReadString(std::string* value) {
  int32_t unusedLength;
  if (!ReadInt32(&unusedLength)) return false;
  const void* zero = std::memchr(m_data + m_position, 0, Remaining());
  if (!zero) {
    m_position = m_size;
    return false;
  }
  const size_t length = static_cast<const uint8_t*>(zero) - (m_data + m_position);
  value->assign(reinterpret_cast<const char*>(m_data + m_position), length);
  m_position += length + 1;
  return true;
}

bool C4eReader::ExpectTag(int32_t tag) {
  int32_t value;
  return ReadInt32(&value) && value == tag;
}

bool C4eReader::CanHold(int64_t count, size_t minimumRecordBytes) const {
  if (count < 0) return false;
  if (minimumRecordBytes == 0 || count == 0) return true;
  return static_cast<uint64_t>(count) <= Remaining() / minimumRecordBytes;
}

bool C4eReader::ReadCount(int32_t* count, size_t minimumRecordBytes) {
  return ReadInt32(count) && CanHold(*count, minimumRecordBytes);
}
