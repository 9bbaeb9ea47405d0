// SPDX-License-Identifier: MIT
// Reading the extension lists that OpenGL drivers give.
#include <cstring>

#include "shell.h"

bool listsExtension(const char* extensions, const char* name) {
    if (extensions == nullptr) return false;
    const size_t length = std::strlen(name);
    for (const char* at = std::strstr(extensions, name); at != nullptr;
         at = std::strstr(at + length, name)) {
        const bool starts = at == extensions || at[-1] == ' ';
        const bool ends = at[length] == ' ' || at[length] == '\0';
        if (starts && ends) return true;
    }
    return false;
}
