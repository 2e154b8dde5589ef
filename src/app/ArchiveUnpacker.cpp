#include "app/ArchiveUnpacker.h"

#include "app/ArchiveReader.h"

bool UnpackArchive(const std::string& archivePath, const std::string& root, std::string* error,
                   uint64_t byteLimit) {
  ArchiveReader reader;
  ArchiveEntry count;
  const bool opened = reader.Open(archivePath, root);
  if (opened) {
    reader.SetByteLimit(byteLimit);
    if (reader.GetEntry(-1, &count)) {
      for (int32_t i = 0; i < count.index && !reader.ByteLimitReached(); ++i) {
        ArchiveEntry entry;
        if (reader.GetEntry(i, &entry)) reader.UnpackEntry(i, entry.name);
      }
    }
  }
  *error = reader.error();
  if (opened && !error->empty()) *error = archivePath + ": could not unpack " + *error;
  reader.Close();
  return error->empty();
}
