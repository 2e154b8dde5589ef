// The archive fuzz entry point: any bytes read by minizip from memory and unpacked with the
// show's name rules into a sandbox. An entry written anywhere but below the root is a fault.
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "app/ArchiveReader.h"
#include "app/ArchiveUnpacker.h"

namespace {

std::filesystem::path g_sandbox;

void RemoveSandbox() {
  std::error_code error;
  std::filesystem::remove_all(g_sandbox, error);
}

const std::filesystem::path& Sandbox() {
  if (g_sandbox.empty()) {
    std::string pattern = (std::filesystem::temp_directory_path() / "pulsar-archive-fuzz-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) std::abort();
    g_sandbox = pattern;
    std::atexit(RemoveSandbox);
  }
  return g_sandbox;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::filesystem::path root = Sandbox() / "root";
  std::error_code error;
  std::filesystem::create_directory(root, error);
  {
    ArchiveReader reader;
    // A small limit: the fuzzer looks for faults, not for how fast a large entry inflates.
    if (reader.OpenMemory(data, size, root.string())) UnpackEntries(&reader, 1 << 16);
    (void)reader.error();
  }
  for (const auto& entry : std::filesystem::directory_iterator(Sandbox(), error)) {
    if (entry.path() != root) {
      std::fprintf(stderr, "an entry escaped the root: %s\n", entry.path().c_str());
      std::abort();
    }
  }
  std::filesystem::remove_all(root, error);
  return 0;
}
