#pragma once
// The data archive's way in: "demo.dat" is unpacked below the show's data root before the
// window opens.
#include <cstdint>
#include <string>

// More than this in total is no show data but a runaway archive; unpacking stops there.
constexpr uint64_t kMaxUnpackedBytes = uint64_t{1} << 30;

class ArchiveReader;

// Writes every entry of an open archive below its root, up to byteLimit bytes in all; failures
// are left in the reader's error().
void UnpackEntries(ArchiveReader* reader, uint64_t byteLimit = kMaxUnpackedBytes);

// Unpacks every entry of the archive below root (the working directory when root is empty).
// Every entry that can be written is; false when the archive cannot be read or an entry could
// not be written whole, with error naming the file and the reason.
bool UnpackArchive(const std::string& archivePath, const std::string& root, std::string* error,
                   uint64_t byteLimit = kMaxUnpackedBytes);
