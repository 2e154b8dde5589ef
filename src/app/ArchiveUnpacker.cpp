#include "app/ArchiveUnpacker.h"

#include "app/ArchiveReader.h"

void UnpackEntries(ArchiveReader* reader, uint64_t byteLimit) {
  reader->SetByteLimit(byteLimit);
  ArchiveEntry count;
  if (!reader->GetEntry(-1, &count)) return;
  for (int32_t i = 0; i < count.index && !reader->ByteLimitReached(); ++i) {
    ArchiveEntry entry;
    // The zip directory is read in order: past an entry it cannot describe, none can be found,
    // and a damaged count of up to 2^31 entries must not be walked one by one from the start.
    if (!reader->GetEntry(i, &entry)) break;
    reader->UnpackEntry(i, entry.name);
  }
}

bool UnpackArchive(const std::string& archivePath, const std::string& root, std::string* error,
                   uint64_t byteLimit) {
  ArchiveReader reader;
  const bool opened = reader.Open(archivePath, root);
  if (opened) UnpackEntries(&reader, byteLimit);
  *error = reader.error();
  if (opened && !error->empty()) *error = archivePath + ": could not unpack " + *error;
  reader.Close();
  return error->empty();
}
