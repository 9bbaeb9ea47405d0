# SPDX-License-Identifier: MIT
# Makes the packages that CPack builds in this tree the same bytes on every
# build of a commit, wherever, whenever and by whomever it runs. Included by
# each packaging CMakeLists.txt before include(CPack); the work is done at
# package time by CPackReproducible.cmake beside this file.

# strip-nondeterminism normalises the containers CPack writes, the .deb's ar
# and the zip (scripts/install-deps installs it); without it the packages are
# still made, with a warning that they are not normalised.
find_program(ZARVEL_STRIP_NONDETERMINISM strip-nondeterminism)
# Every CPACK_ variable reaches CPackConfig.cmake, so the package-time script
# reads the release time and the tool from these two.
set(CPACK_ZARVEL_SOURCE_DATE_EPOCH "${ZARVEL_SOURCE_DATE_EPOCH}")
set(CPACK_ZARVEL_STRIP_NONDETERMINISM "${ZARVEL_STRIP_NONDETERMINISM}")
set(CPACK_PROJECT_CONFIG_FILE "${PROJECT_SOURCE_DIR}/cmake/CPackReproducible.cmake")
set(CPACK_POST_BUILD_SCRIPTS "${PROJECT_SOURCE_DIR}/cmake/CPackReproducible.cmake")
