# SPDX-License-Identifier: MIT
# Package-time half of ZarvelReproducible.cmake, run by cpack twice per
# generator: first as the project's CPack configuration, before the install
# is staged; then as the post-build script, with the packages made
# (CPACK_PACKAGE_FILES set).

if(NOT DEFINED CPACK_PACKAGE_FILES)
    # CPack and the strip it runs take every member's time from
    # SOURCE_DATE_EPOCH instead of the clock and the files' times, and the
    # gzip headers of a Debian package then carry no time at all.
    set(ENV{SOURCE_DATE_EPOCH} "${CPACK_ZARVEL_SOURCE_DATE_EPOCH}")
    # The zip stores local times: in UTC they do not move with the builder.
    set(ENV{TZ} UTC)
    # The tools CPack runs (makensis, strip, dpkg-shlibdeps) in the C
    # locale: in a Turkish one makensis misreads its own headers and fails.
    set(ENV{LC_ALL} C)
    # A cross-built package: dpkg-shlibdeps reads the sysroot's package
    # database and the target architecture's symbols.
    if(CPACK_ZARVEL_DPKG_ADMINDIR)
        set(ENV{DPKG_ADMINDIR} "${CPACK_ZARVEL_DPKG_ADMINDIR}")
        set(ENV{DEB_HOST_ARCH} "${CPACK_DEBIAN_PACKAGE_ARCHITECTURE}")
    endif()
    return()
endif()

foreach(package IN LISTS CPACK_PACKAGE_FILES)
    # The ar members of a .deb carry the builder's umask in their modes, and
    # a zip lists its members in the order the file system gave them.
    if(package MATCHES "\\.deb$")
        set(type ar)
    elseif(package MATCHES "\\.zip$")
        set(type zip)
    else()
        continue()
    endif()
    if(NOT CPACK_ZARVEL_STRIP_NONDETERMINISM)
        message(WARNING "strip-nondeterminism was not found when the build was configured: "
            "${package} keeps the builder's umask and directory order")
        continue()
    endif()
    # Its ar handler is off unless asked for; TZ=UTC for the zip's local times.
    execute_process(
        COMMAND "${CMAKE_COMMAND}" -E env TZ=UTC
            "${CPACK_ZARVEL_STRIP_NONDETERMINISM}" --type ${type} --normalizers=+${type}
            --timestamp "${CPACK_ZARVEL_SOURCE_DATE_EPOCH}" "${package}"
        RESULT_VARIABLE status)
    if(NOT status EQUAL 0)
        message(FATAL_ERROR "strip-nondeterminism failed on ${package}")
    endif()
endforeach()
