#include "app/ArchiveLocation.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstring>
#include <filesystem>

#ifndef PULSAR_DATA_FROM_PROGRAM
#define PULSAR_DATA_FROM_PROGRAM "../share/pulsar"
#endif

std::string ProgramPath() {
  char path[PATH_MAX];
  const ssize_t length = readlink("/proc/self/exe", path, sizeof(path) - 1);
  return length > 0 ? std::string(path, static_cast<size_t>(length)) : std::string();
}

std::string ProgramDirectory() {
  const std::string program = ProgramPath();
  return program.empty() ? program : std::filesystem::path(program).parent_path().string();
}

std::vector<std::string> ArchiveCandidates(const std::string& programDirectory) {
  std::vector<std::string> candidates = {kArchiveName};
  if (programDirectory.empty()) return candidates;
  const std::filesystem::path program(programDirectory);
  candidates.push_back((program / kArchiveName).lexically_normal().string());
  candidates.push_back((program / PULSAR_DATA_FROM_PROGRAM / kArchiveName).lexically_normal().string());
  return candidates;
}

bool FindArchive(const std::string& named, const std::string& programDirectory, std::string* path,
                 std::string* error) {
  if (!named.empty()) {
    *path = named;
    return true;
  }
  const std::vector<std::string> candidates = ArchiveCandidates(programDirectory);
  for (const std::string& candidate : candidates) {
    struct stat status {};
    if (lstat(candidate.c_str(), &status) == 0) {
      *path = candidate;
      return true;
    }
  }
  std::string places = "the working directory";
  for (size_t i = 1; i < candidates.size(); ++i) {
    places += i + 1 == candidates.size() ? " and " : ", ";
    places += std::filesystem::path(candidates[i]).parent_path().string();
  }
  *error = std::string(kArchiveName) + ": " + std::strerror(ENOENT) + " (looked in " + places + ")";
  return false;
}
