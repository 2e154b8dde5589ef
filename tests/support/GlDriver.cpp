#include "support/GlDriver.h"

#include <dlfcn.h>
#include <link.h>

#include <string>
#include <string_view>
#include <vector>

namespace {

int CollectDrivers(dl_phdr_info* info, size_t, void* data) {
  const std::string name = info->dlpi_name ? info->dlpi_name : "";
  constexpr std::string_view kSuffix = "_dri.so";
  if (name.size() > kSuffix.size() && name.compare(name.size() - kSuffix.size(), kSuffix.size(), kSuffix) == 0) {
    static_cast<std::vector<std::string>*>(data)->push_back(name);
  }
  return 0;
}

}  // namespace

int KeepGlDriverMapped() {
  std::vector<std::string> drivers;
  dl_iterate_phdr(CollectDrivers, &drivers);
  int kept = 0;
  for (const std::string& driver : drivers) {
    // RTLD_NOLOAD only finds the loaded copy; RTLD_NODELETE keeps it after the last dlclose.
    if (dlopen(driver.c_str(), RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE) != nullptr) ++kept;
  }
  return kept;
}
