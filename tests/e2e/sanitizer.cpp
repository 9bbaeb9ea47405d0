// SPDX-License-Identifier: MIT
// Finding loaded modules and pinning Mesa's driver in memory.
#include "sanitizer.h"

#include <dlfcn.h>
#include <link.h>

namespace {
// dl_iterate_phdr callback: stops at the first module whose path has the part.
int matchModule(dl_phdr_info* info, size_t, void* data) {
    auto* search = static_cast<std::pair<std::string, std::string>*>(data);
    const std::string path = info->dlpi_name != nullptr ? info->dlpi_name : "";
    if (path.find(search->first) == std::string::npos) return 0;
    search->second = path;
    return 1;
}
}  // namespace

std::string loadedModule(const std::string& part) {
    std::pair<std::string, std::string> search{part, ""};
    dl_iterate_phdr(matchModule, &search);
    return search.second;
}

std::string pinGlDriver() {
    const std::string runtime = loadedModule("libasan.so");
    const std::string driver = loadedModule("_dri.so");
    if (runtime.empty() || driver.empty()) return "";
    dlopen(driver.c_str(), RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
    return runtime + " " + driver;
}
