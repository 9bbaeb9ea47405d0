# SPDX-License-Identifier: MIT
# Writes the service worker OUT from IN: the files FILES (in DIR) it keeps,
# and the release they make, VERSION and the start of a SHA-256 over the
# files' names and digests, so that any change of a file is a new release.
set(digests "")
set(names "")
foreach(name ${FILES})
    file(SHA256 "${DIR}/${name}" digest)
    string(APPEND digests "${name} ${digest}\n")
    list(APPEND names "'${name}'")
endforeach()
string(SHA256 release "${digests}")
string(SUBSTRING "${release}" 0 16 release)
set(ZARVEL_WEB_RELEASE "${VERSION}-${release}")
list(JOIN names ", " ZARVEL_WEB_FILES)
configure_file("${IN}" "${OUT}" @ONLY)
