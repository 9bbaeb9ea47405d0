#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# scripts/cross-deps fetches freeglut's source from Debian's own archive,
# whichever file of the apt set-up names it and whatever third-party
# repositories come before it: checked on made-up apt set-ups.
#   cross-deps-source.sh SOURCE_DIR
set -euo pipefail
cross_deps="$1/scripts/cross-deps"
root=$(mktemp -d)
trap 'rm -rf "$root"' EXIT
fail=0

# Makes a fresh apt set-up under $root: os-release says bookworm.
reset_root() {
    rm -rf "$root/etc" "$root/var"
    mkdir -p "$root/etc/apt/sources.list.d" "$root/var/lib/apt/lists"
    echo 'VERSION_CODENAME=bookworm' >"$root/etc/os-release"
}

# Runs cross-deps --print-source on $root and checks the URI and suite.
expect() {
    local case=$1 uri=$2 got
    got=$(ZARVEL_APT_ROOT=$root "$cross_deps" --print-source)
    if ! grep -qx "URIs: $uri" <<<"$got" || ! grep -qx 'Suites: bookworm' <<<"$got"; then
        echo "FAIL $case: expected $uri bookworm, got:"; echo "$got"; fail=1
    else
        echo "ok   $case"
    fi
}

# An editor's repository, sorted before debian.sources, with a suite of
# the same name and a path ending in /debian: only apt's lists tell the
# two apart.
reset_root
cat >"$root/etc/apt/sources.list.d/code.sources" <<'SRC'
Types: deb
URIs: https://packages.example.com/debian
Suites: bookworm
Components: main
Signed-By: /usr/share/keyrings/example.gpg
SRC
cat >"$root/etc/apt/sources.list.d/debian.sources" <<'SRC'
Types: deb
# a comment between fields
URIs: http://mirror.example.org/pub/linux/debian-mirror/
Suites: bookworm bookworm-updates
Components: main
SRC
printf 'Origin: Example\n' >"$root/var/lib/apt/lists/packages.example.com_debian_dists_bookworm_InRelease"
printf 'Origin: Debian\n' >"$root/var/lib/apt/lists/mirror.example.org_pub_linux_debian-mirror_dists_bookworm_InRelease"
expect "Origin: Debian, after a third-party .sources" http://mirror.example.org/pub/linux/debian-mirror/

# No lists fetched yet: Debian's key or a path ending in /debian decides,
# and a one-line sources.list is read as well as .list files.
reset_root
printf 'deb [arch=amd64 signed-by=/etc/apt/keyrings/browser.gpg] https://dl.example.com/linux/deb/ bookworm main\n' \
    >"$root/etc/apt/sources.list.d/browser.list"
printf 'Types: deb\nURIs: https://repo.example.net/apt\nSuites: stable\nComponents: main\n' \
    >"$root/etc/apt/sources.list.d/a-vendor.sources"
printf '# deb http://old.example.org/debian bookworm main\ndeb http://deb.debian.org/debian bookworm main\n' \
    >"$root/etc/apt/sources.list"
expect "one-line sources.list, no lists" http://deb.debian.org/debian

# Only third-party repositories: nothing is printed, and cross-deps says so.
reset_root
printf 'deb https://dl.example.com/linux/deb/ bookworm main\n' >"$root/etc/apt/sources.list"
got=$(ZARVEL_APT_ROOT=$root "$cross_deps" --print-source)
if [ -n "$got" ]; then echo "FAIL no Debian archive: got $got"; fail=1; else echo "ok   no Debian archive"; fi
exit $fail
