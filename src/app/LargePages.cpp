#include "app/LargePages.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>

#if defined(__GLIBC__)
#include <gnu/libc-version.h>
#endif

#include "app/ArchiveLocation.h"

namespace {

constexpr std::string_view kTunable = "glibc.malloc.hugetlb";

// The tunable arrived with glibc 2.35; older versions ignore it and a restart would gain nothing.
bool AllocatorKnowsTheTunable() {
#if defined(__GLIBC__) && !defined(__SANITIZE_ADDRESS__)
  int major = 0;
  int minor = 0;
  return std::sscanf(gnu_get_libc_version(), "%d.%d", &major, &minor) == 2 && (major > 2 || (major == 2 && minor >= 35));
#else
  // Another allocator (or the address sanitizer's) has its own pages.
  return false;
#endif
}

}  // namespace

bool KernelGrantsLargePagesOnRequest(std::string_view setting) {
  return setting.find("[madvise]") != std::string_view::npos;
}

std::optional<std::string> TunablesAskingForLargePages(const char* current) {
  const std::string_view existing = current != nullptr ? current : "";
  // Entries are name=value pairs separated by colons.
  size_t start = 0;
  while (start <= existing.size()) {
    const size_t end = std::min(existing.find(':', start), existing.size());
    const std::string_view entry = existing.substr(start, end - start);
    if (entry.substr(0, entry.find('=')) == kTunable) return std::nullopt;
    start = end + 1;
  }
  std::string tunables(existing);
  if (!tunables.empty()) tunables += ':';
  return tunables + std::string(kTunable) + "=1";
}

void RestartWithLargePages(char** argv) {
  if (argv == nullptr || argv[0] == nullptr || !AllocatorKnowsTheTunable()) return;
  std::ifstream file("/sys/kernel/mm/transparent_hugepage/enabled");
  const std::string setting{std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
  if (!KernelGrantsLargePagesOnRequest(setting)) return;
  const char* current = std::getenv("GLIBC_TUNABLES");
  const std::optional<std::string> before = current != nullptr ? std::optional<std::string>(current) : std::nullopt;
  const std::optional<std::string> tunables = TunablesAskingForLargePages(current);
  if (!tunables || setenv("GLIBC_TUNABLES", tunables->c_str(), 1) != 0) return;
  // By its own path rather than /proc/self/exe, so the process keeps its name ("pulsar").
  const std::string program = ProgramPath();
  if (!program.empty()) execv(program.c_str(), argv);
  // Still here: run on small pages, and leave the environment of any child as it was.
  if (before) {
    setenv("GLIBC_TUNABLES", before->c_str(), 1);
  } else {
    unsetenv("GLIBC_TUNABLES");
  }
}
