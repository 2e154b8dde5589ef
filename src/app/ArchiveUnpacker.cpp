#include "app/ArchiveUnpacker.h"

#include <algorithm>
#include <memory>
#include <set>
#include <system_error>
#include <thread>
#include <vector>

#include "app/ArchiveReader.h"
#include "platform/fs.h"

namespace {

// The entries each of two readers writes, in archive order.
struct Halves {
  std::vector<int32_t> entries[2];
  uint64_t bytes[2] = {0, 0};
};

// Splits the entries between two readers by the work each takes (inflating costs several times
// copying a stored entry), largest first. Only an archive whose outcome cannot depend on which
// reader goes first is split: every entry described, no name written twice, no file where
// another entry needs a directory, and every announced byte within the limit. Anything else is
// unpacked in order, so its first failure is told as before.
bool SplitBetweenTwo(ArchiveReader* reader, uint64_t byteLimit, Halves* halves) {
  ArchiveEntry count;
  if (!reader->GetEntry(-1, &count)) return false;
  struct Work {
    int32_t index;
    uint64_t bytes;
    uint64_t cost;
  };
  std::vector<Work> work;
  std::set<std::string> files;
  std::set<std::string> directories;
  uint64_t total = 0;
  for (int32_t i = 0; i < count.index; ++i) {
    ArchiveEntry entry;
    if (!reader->GetEntry(i, &entry)) return false;
    if (!IsContainedEntryPath(entry.name)) continue;
    for (size_t slash = entry.name.find('/'); slash != std::string::npos; slash = entry.name.find('/', slash + 1)) {
      directories.insert(entry.name.substr(0, slash));
    }
    if (entry.attributes & FILE_ATTRIBUTE_DIRECTORY) continue;
    if (!files.insert(entry.name).second) return false;
    const uint64_t bytes = static_cast<uint32_t>(entry.uncompressedSize);
    const bool stored = entry.compressedSize == entry.uncompressedSize;
    work.push_back({i, bytes, stored ? bytes : 4 * bytes});
    total += bytes;
  }
  if (total > byteLimit) return false;
  for (const std::string& file : files) {
    if (directories.count(file) != 0) return false;
  }
  std::sort(work.begin(), work.end(), [](const Work& a, const Work& b) { return a.cost > b.cost; });
  uint64_t cost[2] = {0, 0};
  std::vector<bool> second(static_cast<size_t>(count.index), false);
  for (const Work& entry : work) {
    const int half = cost[0] <= cost[1] ? 0 : 1;
    cost[half] += entry.cost;
    halves->bytes[half] += entry.bytes;
    second[static_cast<size_t>(entry.index)] = half == 1;
  }
  // Directory entries (and names refused) go with the first half, where they cost nothing.
  for (int32_t i = 0; i < count.index; ++i) halves->entries[second[static_cast<size_t>(i)] ? 1 : 0].push_back(i);
  return true;
}

void UnpackListed(ArchiveReader* reader, const std::vector<int32_t>& entries, uint64_t byteLimit) {
  reader->SetByteLimit(byteLimit);
  for (const int32_t index : entries) {
    ArchiveEntry entry;
    if (!reader->GetEntry(index, &entry)) break;
    reader->UnpackEntry(index, entry.name);
  }
}

// Two readers over the archive's bytes, side by side; false, with nothing written and the
// reader's error untouched, when the archive is not split or no second thread can be had. The
// split is planned on the second reader, so a directory it finds damaged is told, if at all, by
// the unpacking in order that follows.
bool UnpackOnTwoThreads(ArchiveReader* reader, const std::string& root, uint64_t byteLimit,
                        std::unique_ptr<ArchiveReader>* helperReader) {
  const MemoryZipBytes bytes = reader->Memory();
  auto second = std::make_unique<ArchiveReader>();
  Halves halves;
  if (bytes.bytes == nullptr || !second->OpenMemory(bytes.bytes, bytes.size, root) ||
      !SplitBetweenTwo(second.get(), byteLimit, &halves)) {
    return false;
  }
  std::thread helper;
  try {
    helper = std::thread([&] { UnpackListed(second.get(), halves.entries[1], halves.bytes[1]); });
  } catch (const std::system_error&) {
    return false;
  }
  UnpackListed(reader, halves.entries[0], halves.bytes[0]);
  helper.join();
  *helperReader = std::move(second);
  return true;
}

}  // namespace

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
  std::unique_ptr<ArchiveReader> second;
  const bool opened = reader.Open(archivePath, root);
  // Inflating and checking the entries is most of the work: two cores halve it.
  if (opened && !UnpackOnTwoThreads(&reader, root, byteLimit, &second)) UnpackEntries(&reader, byteLimit);
  // The failure of the earliest entry, as unpacking in order would have told it first.
  const bool secondFirst = second != nullptr && !second->error().empty() &&
                           (reader.error().empty() || second->errorEntry() < reader.errorEntry());
  *error = secondFirst ? second->error() : reader.error();
  if (opened && !error->empty()) *error = archivePath + ": could not unpack " + *error;
  second.reset();
  reader.Close();
  return error->empty();
}
