// SPDX-License-Identifier: MIT
// Leak checking of processes that use Mesa, under AddressSanitizer.
//
// Mesa unloads its OpenGL driver (swrast_dri.so) when the X display is
// closed, which freeglut does on the way out, before LeakSanitizer's check at
// exit. Its leaks are then reported from an "<unknown module>" that no
// suppression can name. Keeping the driver loaded lets the reports name it,
// so that tests/lsan.supp can suppress Mesa's leaks and only ours remain.
#pragma once

#include <string>

// Path of the first loaded module whose path contains `part`; empty if none.
std::string loadedModule(const std::string& part);

// In a sanitizer build with a current OpenGL context: pins the loaded GL
// driver in this process and returns the LD_PRELOAD value that does the same
// for the game (the sanitizer's runtime first, as it requires, then the
// driver). Empty when this is no sanitizer build.
std::string pinGlDriver();
