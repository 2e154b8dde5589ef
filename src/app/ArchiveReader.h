#pragma once
// Reads the show's zip archive entry by entry and writes entries below a root directory.
#include <cstdint>
#include <string>
#include <vector>

#include "app/ArchiveEntry.h"
#include "app/MemoryZipStream.h"

class ArchiveReader {
 public:
  ArchiveReader() = default;
  ~ArchiveReader();
  ArchiveReader(const ArchiveReader&) = delete;
  ArchiveReader& operator=(const ArchiveReader&) = delete;

  // Opens the archive; everything is written below root, the working directory when root is
  // empty. A failure leaves the reason in error().
  bool Open(const std::string& archiveName, const std::string& root = std::string());
  // Open reads an archive of up to this many bytes whole, at once; a larger one is read from its
  // file as it is unpacked.
  void SetWholeReadLimit(uint64_t bytes) { m_wholeReadLimit = bytes; }
  // The same for an archive already in memory; the bytes must outlive the reader's use of them.
  bool OpenMemory(const uint8_t* bytes, size_t size, const std::string& root);
  // The archive's bytes where it is read from memory (a second reader may share them); empty
  // where it is read from its file.
  MemoryZipBytes Memory() const { return m_archive != nullptr ? m_memory : MemoryZipBytes{}; }
  // Describes entry index; index -1 reports only the number of entries, in entry->index.
  bool GetEntry(int32_t index, ArchiveEntry* entry);
  // Writes entry index to name below the root. Names that would leave the root are refused
  // silently; an entry that cannot be written whole is skipped, and the first such failure is
  // kept in error().
  void UnpackEntry(int32_t index, const std::string& name);
  void Close();

  // Caps the bytes written over all entries; reaching it ends the unpacking for good.
  void SetByteLimit(uint64_t bytes) { m_bytesLeft = bytes; }
  bool ByteLimitReached() const { return m_byteLimitReached; }
  const std::string& root() const { return m_root; }
  // The first failure since Open, "" when there was none, and the entry it befell (-1 for the
  // archive itself).
  const std::string& error() const { return m_error; }
  int32_t errorEntry() const { return m_errorEntry; }

 private:
  bool SetRoot(const std::string& root);
  bool Adopt(void* opened, const std::string& archiveName);
  bool MoveTo(int32_t index);
  void EnsureDirectory(const std::string& directory);
  void CopyEntryData(const ArchiveEntry& entry, const std::string& directory, const std::string& fileName);
  void CloseOpenEntry();
  void NoteError(const std::string& what, const std::string& reason);

  void* m_archive = nullptr;
  MemoryZipBytes m_memory;
  std::vector<uint8_t> m_fileBytes;  // the archive file, read whole
  uint64_t m_wholeReadLimit = uint64_t{512} << 20;
  std::string m_root;
  std::string m_error;
  int32_t m_errorEntry = -1;
  int32_t m_unpacking = -1;  // entry being written, for errorEntry()
  int32_t m_entryCount = 0;
  int32_t m_position = -1;   // entry the zip reader stands on
  int32_t m_openEntry = -1;  // entry open for reading
  ArchiveEntry m_cachedEntry;
  std::vector<uint8_t> m_buffer;
  uint64_t m_bytesLeft = UINT64_MAX;
  bool m_byteLimitReached = false;
};
