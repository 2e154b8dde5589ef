#pragma once
// The data archive's way in and out: "demo.dat" is unpacked into the working directory before
// the window opens, and the directory "engine_data" it creates is deleted at shutdown.
#include <cstdint>
#include <string>

// More than this in total is no show data but a runaway archive; unpacking stops there.
constexpr uint64_t kMaxUnpackedBytes = uint64_t{1} << 30;

// Unpacks every entry of "demo.dat". Failures are not reported: a missing file shows up
// later when its loader cannot find it.
void UnpackArchive();
// The same for any archive and cap; for tests and tools.
void UnpackArchiveFile(const std::string& archiveName, uint64_t byteLimit);

// Deletes "engine_data" and everything below it without following links.
void DeleteDataDirectory();
