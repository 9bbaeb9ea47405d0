#!/bin/sh
# SPDX-License-Identifier: MIT
# Stages what the install tests check: the install under two prefixes, each in
# a DESTDIR of its own, and the Debian package built by CPack, under umask
# 002, as on a builder that shares its files with a group: what they install
# must not take its modes from the builder.
#   stage.sh BUILD_DIR STAGE_DIR
set -eu
umask 002
build="$1"
stage="$2"
rm -rf "$stage"
mkdir -p "$stage"

# cmake --install and cpack rewrite the build tree's install_manifest.txt,
# which a player may still need in order to uninstall: put it back afterwards.
manifest="$build/install_manifest.txt"
if [ -e "$manifest" ]; then
    cp -p "$manifest" "$stage/install_manifest.saved"
fi
restore() {
    if [ -e "$stage/install_manifest.saved" ]; then
        cp -p "$stage/install_manifest.saved" "$manifest"
    else
        rm -f "$manifest"
    fi
}
trap restore EXIT

DESTDIR="$stage/usr-root" cmake --install "$build" --prefix /usr
DESTDIR="$stage/opt-root" cmake --install "$build" --prefix /opt/zarvel
cpack -G DEB --config "$build/CPackConfig.cmake" -B "$stage/deb"
