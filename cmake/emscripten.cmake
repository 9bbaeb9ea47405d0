# SPDX-License-Identifier: MIT
# Cross build to WebAssembly with Debian's emscripten: the headless libraries
# and their tests, which run under node, and the browser game (web/).
# Libraries and packages come from emscripten's sysroot and from the prefixes
# in CMAKE_PREFIX_PATH (GoogleTest cross-built by scripts/cross-deps web).

# BOTH so that the cross-built prefixes given in CMAKE_PREFIX_PATH are
# searched as they are; emscripten's file below would search only its sysroot.
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE BOTH)
# The tests run under node, which would fetch the .wasm with its fetch (that
# cannot read a file) unless told not to.
set(CMAKE_CROSSCOMPILING_EMULATOR node --no-experimental-fetch)

include(/usr/share/emscripten/cmake/Modules/Platform/Emscripten.cmake)

# emcc's JavaScript tools run under node and find their parser (acorn) only
# in Debian's module folder: for configure's checks, compiling and linking.
set(ENV{NODE_PATH} /usr/share/nodejs)
set(CMAKE_CXX_COMPILER_LAUNCHER env NODE_PATH=/usr/share/nodejs)
set(CMAKE_CXX_LINKER_LAUNCHER env NODE_PATH=/usr/share/nodejs)
