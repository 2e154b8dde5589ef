#include "app/ArchiveUnpacker.h"

#include "app/ArchiveReader.h"
#include "app/DataDirectory.h"
#include "platform/fs.h"

void UnpackArchive() { UnpackArchiveFile("demo.dat", kMaxUnpackedBytes); }

void UnpackArchiveFile(const std::string& archiveName, uint64_t byteLimit) {
  ArchiveReader reader;
  if (!reader.Open(archiveName)) return;
  reader.SetByteLimit(byteLimit);
  ArchiveEntry count;
  if (!reader.GetEntry(-1, &count)) return;
  for (int32_t i = 0; i < count.index && !reader.ByteLimitReached(); ++i) {
    ArchiveEntry entry;
    if (reader.GetEntry(i, &entry)) reader.UnpackEntry(i, entry.name);
  }
  reader.Close();
}

void DeleteDataDirectory() {
  std::string directory = DataDirectoryPrefix();
  while (!directory.empty() && directory.back() == '/') directory.pop_back();
  platform::DeleteTree(directory);
}
