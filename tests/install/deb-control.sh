#!/bin/sh
# SPDX-License-Identifier: MIT
# Checks the Debian package that CPack built: its file name, its control
# fields (the GL, GLU and freeglut run-time libraries among the dependencies
# that shlibdeps found, section games), that it holds the /usr install with
# the program in /usr/games, its changelog's version, that it carries nothing
# of its builder (modes, times), and lintian's verdict.
#   deb-control.sh STAGE_DIR VERSION [ARCH]   (by default the machine's own)
set -eu
stage="$1"
version="$2"
arch="${3:-$(dpkg --print-architecture)}"
deb="$stage/deb/zarvel_${version}_${arch}.deb"
fail=0

if [ ! -f "$deb" ]; then
    echo "FAIL: no $deb; the package directory holds:"
    ls "$stage/deb"
    exit 1
fi
dpkg-deb --info "$deb"

field() { dpkg-deb -f "$deb" "$1"; }
expect() {
    if [ "$(field "$1")" != "$2" ]; then
        echo "FAIL: $1 is '$(field "$1")', wants '$2'"
        fail=1
    fi
}
expect Package zarvel
expect Version "$version"
expect Architecture "$arch"
expect Section games
[ -n "$(field Maintainer)" ] || { echo "FAIL: no Maintainer"; fail=1; }
[ -n "$(field Description)" ] || { echo "FAIL: no Description"; fail=1; }

# dpkg-shlibdeps names the package of every library the binary links: GL
# (libgl1, or libopengl0 when it links GLVND's libOpenGL), GLU, freeglut and
# the C library. Every package named, alternatives included, one per line:
depends=$(field Depends)
names=$(printf '%s\n' "$depends" | tr ',|' '\n\n' | sed 's/(.*)//; s/ //g')
for library in 'libgl1|libopengl0' 'libglu1-mesa|libglu1' 'libglut3\.12|freeglut3' 'libc6'; do
    if ! printf '%s\n' "$names" | grep -Eqx "$library"; then
        echo "FAIL: Depends '$depends' lacks $library"
        fail=1
    fi
done

# The package holds exactly the files of an install under /usr, but for the
# program, which Debian puts in /usr/games.
dpkg-deb --contents "$deb" | awk '$1 !~ /^d/ { print $6 }' | sed 's|^\./|/|' |
    LC_ALL=C sort >"$stage/deb-files.txt"
(cd "$stage/usr-root" && find . ! -type d | sed 's|^\.||; s|^/usr/bin/zarvel$|/usr/games/zarvel|' |
    LC_ALL=C sort) >"$stage/usr-files.txt"
if ! diff -u "$stage/usr-files.txt" "$stage/deb-files.txt"; then
    echo "FAIL: the package's files differ from the /usr install"
    fail=1
fi

# The changelog's newest entry is this version's.
top=$(dpkg-deb --fsys-tarfile "$deb" | tar -xOf - ./usr/share/doc/zarvel/changelog.gz | gzip -dc | head -n 1)
case "$top" in
"zarvel ($version) "*) ;;
*) echo "FAIL: the changelog's newest entry is '$top', not version $version"; fail=1 ;;
esac

# Made under umask 002 (stage.sh), yet every directory is 0755 and every ar
# member 0644, and every member of the ar and of the tar carries the time of
# the changelog's newest entry (as dpkg reads it), not the builder's clock.
release=$(dpkg-parsechangelog -l "$(dirname "$0")/../../packaging/debian/changelog" -S Timestamp)
tar_time=$(LC_ALL=C TZ=UTC date -d "@$release" '+%Y-%m-%d %H:%M')
ar_time=$(LC_ALL=C TZ=UTC date -d "@$release" '+%b %-d %H:%M %Y')
LC_ALL=C TZ=UTC dpkg-deb --contents "$deb" | awk -v time="$tar_time" '
    $1 ~ /^d/ && $1 != "drwxr-xr-x" { print "FAIL: directory " $6 " is " $1; bad = 1 }
    $4 " " $5 != time { print "FAIL: " $6 " is dated " $4 " " $5 ", not " time; bad = 1 }
    END { exit bad }' || fail=1
LC_ALL=C TZ=UTC ar tv "$deb" | awk -v time="$ar_time" '
    $1 != "rw-r--r--" { print "FAIL: ar member " $8 " is " $1; bad = 1 }
    $4 " " $5 " " $6 " " $7 != time { print "FAIL: ar member " $8 " is dated " $4 " " $5 " " $6 " " $7; bad = 1 }
    END { exit bad }' || fail=1

# Debian's own checker: any error or warning fails (informational and
# pedantic notes are shown, not counted).
lintian --display-info --pedantic --fail-on error,warning "$deb" ||
    { echo "FAIL: lintian found errors or warnings"; fail=1; }

[ "$fail" -eq 0 ] && echo "package $deb: control fields and contents as expected"
exit "$fail"
