#pragma once
// Loading touches a few hundred megabytes for the first time (the driver zeroes every texture,
// target and buffer it creates). On 4 KiB pages that is a page fault per page, a large part of
// start-up. glibc's malloc asks for transparent huge pages when its "glibc.malloc.hugetlb"
// tunable is 1, but reads its tunables only when a program starts: so the show starts itself
// once more, with the tunable set, where the kernel grants huge pages only on request.
#include <optional>
#include <string>
#include <string_view>

// The kernel's transparent_hugepage setting ("always [madvise] never") names madvise as chosen.
bool KernelGrantsLargePagesOnRequest(std::string_view setting);

// GLIBC_TUNABLES with the huge-page request added to what it already asks; nothing when it
// already says either way (the user's choice, or this program started once more).
std::optional<std::string> TunablesAskingForLargePages(const char* current);

// Replaces this process with the same program and arguments, asking for huge pages. Returns,
// with the environment as it was, where that is not needed, not possible or fails: the show then
// runs on small pages. Call it before any thread exists.
void RestartWithLargePages(char** argv);
