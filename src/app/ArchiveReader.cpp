#include "app/ArchiveReader.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <unzip.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <new>

#include "app/MemoryZipStream.h"
#include "platform/fs.h"

namespace {

constexpr size_t kTransferBytes = 1 << 20;
constexpr uint32_t kEncryptedFlag = 0x0001;

unzFile Zip(void* archive) { return static_cast<unzFile>(archive); }

std::string ZipErrorText(int code) {
  switch (code) {
    case UNZ_ERRNO: return std::strerror(errno);
    case UNZ_BADZIPFILE: return "damaged zip structure";
    case UNZ_CRCERROR: return "checksum mismatch, the data is damaged";
    case Z_DATA_ERROR: return "damaged compressed data";
    case Z_MEM_ERROR: return "out of memory";
    case Z_BUF_ERROR: return "the data is cut short";
    default: return "zip error " + std::to_string(code);
  }
}

}  // namespace

ArchiveReader::~ArchiveReader() { Close(); }

bool ArchiveReader::SetRoot(const std::string& root) {
  Close();
  m_error.clear();
  m_errorEntry = -1;
  m_unpacking = -1;
  m_root = root;
  if (m_root.empty()) {
    char directory[PATH_MAX];
    if (!getcwd(directory, sizeof(directory))) return NoteError("the working directory", std::strerror(errno)), false;
    m_root = directory;
  }
  if (m_root.back() != '/') m_root.push_back('/');
  return true;
}

bool ArchiveReader::Open(const std::string& archiveName, const std::string& root) {
  if (!SetRoot(root)) return false;

  // The zip reader only says "no"; ask the system first why a file cannot be read.
  const int descriptor = open(archiveName.c_str(), O_RDONLY | O_CLOEXEC);
  if (descriptor < 0) return NoteError(archiveName, std::strerror(errno)), false;
  struct stat status {};
  const bool isDirectory = fstat(descriptor, &status) == 0 && S_ISDIR(status.st_mode);
  close(descriptor);
  if (isDirectory) return NoteError(archiveName, std::strerror(EISDIR)), false;

  // The show's archive is read whole, at once: minizip over a file seeks and reads it 16 KiB at a
  // time, two system calls a step. One far larger than any show is read from the file.
  if (status.st_size > 0 && static_cast<uint64_t>(status.st_size) <= m_wholeReadLimit) {
    try {
      if (!platform::ReadWholeFile(archiveName, &m_fileBytes)) {
        return NoteError(archiveName, std::strerror(errno)), false;
      }
      m_memory = MemoryZipBytes{m_fileBytes.data(), m_fileBytes.size()};
      zlib_filefunc64_def functions = MemoryZipFunctions(&m_memory);
      return Adopt(unzOpen2_64(archiveName.c_str(), &functions), archiveName);
    } catch (const std::bad_alloc&) {
      std::vector<uint8_t>().swap(m_fileBytes);
    }
  }
  return Adopt(unzOpen64(archiveName.c_str()), archiveName);
}

bool ArchiveReader::OpenMemory(const uint8_t* bytes, size_t size, const std::string& root) {
  if (!SetRoot(root)) return false;
  m_memory = MemoryZipBytes{bytes, size};
  zlib_filefunc64_def functions = MemoryZipFunctions(&m_memory);
  return Adopt(unzOpen2_64("memory", &functions), "the archive in memory");
}

bool ArchiveReader::Adopt(void* opened, const std::string& archiveName) {
  unzFile archive = Zip(opened);
  if (!archive) return NoteError(archiveName, "not a zip archive, or cut short (its zip directory is missing)"), false;
  unz_global_info64 info{};
  const int result = unzGetGlobalInfo64(archive, &info);
  if (result != UNZ_OK || info.number_entry > INT32_MAX) {
    unzClose(archive);
    return NoteError(archiveName, result != UNZ_OK ? ZipErrorText(result) : "too many entries"), false;
  }
  m_archive = archive;
  m_entryCount = static_cast<int32_t>(info.number_entry);
  m_position = -1;
  m_openEntry = -1;
  m_cachedEntry = ArchiveEntry{};
  m_byteLimitReached = false;
  return true;
}

void ArchiveReader::Close() {
  CloseOpenEntry();
  if (m_archive) unzClose(Zip(m_archive));
  m_archive = nullptr;
  m_entryCount = 0;
  m_position = -1;
  m_cachedEntry = ArchiveEntry{};
  std::vector<uint8_t>().swap(m_buffer);
  std::vector<uint8_t>().swap(m_fileBytes);
}

void ArchiveReader::NoteError(const std::string& what, const std::string& reason) {
  if (!m_error.empty()) return;
  m_error = what + ": " + reason;
  m_errorEntry = m_unpacking;
}

void ArchiveReader::CloseOpenEntry() {
  if (m_openEntry >= 0 && m_archive) unzCloseCurrentFile(Zip(m_archive));
  m_openEntry = -1;
}

bool ArchiveReader::MoveTo(int32_t index) {
  unzFile archive = Zip(m_archive);
  // A failed step leaves the reader nowhere; the cached description no longer matches it.
  const auto lost = [this] {
    m_position = -1;
    m_cachedEntry = ArchiveEntry{};
    return false;
  };
  if (m_position < 0 || index < m_position) {
    if (unzGoToFirstFile(archive) != UNZ_OK) return lost();
    m_position = 0;
  }
  while (m_position < index) {
    if (unzGoToNextFile(archive) != UNZ_OK) return lost();
    ++m_position;
  }
  return true;
}

bool ArchiveReader::GetEntry(int32_t index, ArchiveEntry* entry) {
  if (!m_archive || index < -1 || index >= m_entryCount) return false;
  CloseOpenEntry();
  if (index == -1) {
    *entry = ArchiveEntry{};
    entry->index = m_entryCount;
    return true;
  }
  if (index == m_cachedEntry.index) {
    *entry = m_cachedEntry;
    return true;
  }
  const auto damaged = [&] {
    m_unpacking = index;
    NoteError("entry " + std::to_string(index), "damaged zip directory");
    return false;
  };
  if (!MoveTo(index)) return damaged();

  unzFile archive = Zip(m_archive);
  unz_file_info64 info{};
  if (unzGetCurrentFileInfo64(archive, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) return damaged();
  std::string storedName(info.size_filename, '\0');
  std::vector<uint8_t> extra(info.size_file_extra);
  if (unzGetCurrentFileInfo64(archive, &info, storedName.data(), static_cast<uLong>(storedName.size()),
                              extra.data(), static_cast<uLong>(extra.size()), nullptr, 0) != UNZ_OK) {
    return damaged();
  }

  ArchiveEntry described;
  described.index = index;
  described.name = EncodeEntryPath(MakeEntryNameSafe(DecodeEntryName(storedName)));
  described.attributes = EntryAttributes(static_cast<uint32_t>(info.external_fa), static_cast<uint32_t>(info.version));
  const uint64_t dosTime = DosDateTimeToFileTime(static_cast<uint32_t>(info.dosDate));
  described.accessTime = described.creationTime = described.modificationTime = dosTime;
  ApplyExtendedTimestamp(extra.data(), extra.size(), &described);
  described.compressedSize = static_cast<int32_t>(info.compressed_size);
  described.uncompressedSize = static_cast<int32_t>(info.uncompressed_size);

  m_cachedEntry = described;
  *entry = described;
  return true;
}

void ArchiveReader::EnsureDirectory(const std::string& directory) {
  if (!platform::PathExists(m_root)) platform::CreateDirectory(m_root);
  if (directory.empty()) return;
  // Parents before children; a trailing separator names the directory itself.
  const size_t lastSeparator = directory.find_last_of('/');
  if (lastSeparator != std::string::npos && lastSeparator > 0) EnsureDirectory(directory.substr(0, lastSeparator));
  // An existing directory is kept; a link in its place is replaced, never entered.
  if (!platform::CreateDirectoryBelow(m_root, directory)) NoteError(directory, std::strerror(errno));
}

void ArchiveReader::UnpackEntry(int32_t index, const std::string& name) {
  if (m_byteLimitReached || !IsContainedEntryPath(name)) return;
  m_unpacking = index;
  ArchiveEntry entry;
  if (!GetEntry(index, &entry)) return;

  if (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) {
    EnsureDirectory(name);
    return;
  }
  const size_t split = name.find_last_of('/');
  const std::string directory = split == std::string::npos ? std::string() : name.substr(0, split + 1);
  const std::string fileName = split == std::string::npos ? name : name.substr(split + 1);
  EnsureDirectory(directory);
  CopyEntryData(entry, directory, fileName);
}

void ArchiveReader::CopyEntryData(const ArchiveEntry& entry, const std::string& directory,
                                  const std::string& fileName) {
  const std::string name = directory + fileName;
  const auto runaway = [&] {
    m_byteLimitReached = true;
    NoteError(name, "the archive unpacks to more than is allowed; unpacking stopped");
  };
  // An entry that announces more than is left would pass the cap; stop before writing it.
  if (static_cast<uint64_t>(static_cast<uint32_t>(entry.uncompressedSize)) > m_bytesLeft) return runaway();
  platform::OutputFile file;
  if (!file.Create(m_root, directory, fileName, (entry.attributes & FILE_ATTRIBUTE_READONLY) != 0)) {
    return NoteError(name, std::strerror(errno));
  }

  unzFile archive = Zip(m_archive);
  unz_file_info64 info{};
  if (!MoveTo(entry.index) || unzGetCurrentFileInfo64(archive, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK) {
    return NoteError(name, "damaged zip directory");
  }
  if (info.flag & kEncryptedFlag) return NoteError(name, "encrypted, and the show has no password");
  if (const int opened = unzOpenCurrentFilePassword(archive, nullptr); opened != UNZ_OK) {
    return NoteError(name, ZipErrorText(opened));
  }
  m_openEntry = entry.index;
  if (m_buffer.empty()) m_buffer.resize(kTransferBytes);

  for (;;) {
    const int read = unzReadCurrentFile(archive, m_buffer.data(), static_cast<unsigned>(m_buffer.size()));
    if (read < 0) {
      NoteError(name, ZipErrorText(read));
      break;
    }
    if (read == 0) {
      if (unzeof(archive)) {
        // Only the whole entry can be checked against its checksum.
        const int closed = unzCloseCurrentFile(archive);
        m_openEntry = -1;
        if (closed != UNZ_OK) NoteError(name, ZipErrorText(closed));
        file.SetTimes(entry.accessTime, entry.modificationTime);
      } else {
        NoteError(name, ZipErrorText(Z_BUF_ERROR));
      }
      break;
    }
    // The announced size may lie; the cap holds for what really comes out of the inflater.
    if (static_cast<uint64_t>(read) > m_bytesLeft) {
      runaway();
      file.Discard();
      break;
    }
    m_bytesLeft -= static_cast<uint64_t>(read);
    if (!file.Write(m_buffer.data(), static_cast<size_t>(read))) {
      NoteError(name, std::strerror(errno));
      break;
    }
  }
  file.Close();
  CloseOpenEntry();
}
