#!/bin/sh
# SPDX-License-Identifier: MIT
# Checks the portable game's tarball: its members, owners and modes; that the
# program starts from the unpacked folder (it reports the missing display);
# and its install.sh: into ~/.local and into a prefix of another name, again
# over itself, refusing a file it did not install and bad arguments, and
# --uninstall leaving each prefix as it was before.
#   portable-tarball.sh TARBALL VERSION
set -eu
tarball=$1
version=$2
work=$(mktemp -d "${TMPDIR:-/tmp}/zarvel-tarball.XXXXXX")
trap 'rm -rf "$work"' EXIT
fail=0
app=org.zarvel.Zarvel
top=zarvel-$version

# Members: "mode owner name", the folder's own files executable.
tar -tvzf "$tarball" | awk '{print $1, $2, $6}' >"$work/members"
{
    for dir in "" share/ share/applications/ share/doc/ share/doc/zarvel/ share/icons/ \
        share/icons/hicolor/ share/man/ share/man/man6/ share/metainfo/; do
        echo "drwxr-xr-x 0/0 $top/$dir"
    done
    for size in 64 128 256; do
        echo "drwxr-xr-x 0/0 $top/share/icons/hicolor/${size}x$size/"
        echo "drwxr-xr-x 0/0 $top/share/icons/hicolor/${size}x$size/apps/"
        echo "-rw-r--r-- 0/0 $top/share/icons/hicolor/${size}x$size/apps/$app.png"
    done
    for file in LICENSE NOTICES.txt README.txt share/applications/$app.desktop \
        share/doc/zarvel/changelog.gz share/doc/zarvel/copyright share/man/man6/zarvel.6.gz \
        share/metainfo/$app.metainfo.xml; do
        echo "-rw-r--r-- 0/0 $top/$file"
    done
    echo "-rwxr-xr-x 0/0 $top/install.sh"
    echo "-rwxr-xr-x 0/0 $top/zarvel"
} | LC_ALL=C sort >"$work/expected"
LC_ALL=C sort "$work/members" | diff -u "$work/expected" - || { echo "FAIL: the members above differ"; fail=1; }
for notice in "freeglut" "SGI FREE SOFTWARE LICENSE B"; do
    tar -xzOf "$tarball" "$top/NOTICES.txt" | grep -q "$notice" || { echo "FAIL: no $notice notice"; fail=1; }
done

tar -xzf "$tarball" -C "$work"
folder=$work/$top
if env -u DISPLAY "$folder/zarvel" >"$work/started" 2>&1 || ! grep -q "failed to open display" "$work/started"; then
    echo "FAIL: the unpacked program did not start and report the missing display:"
    cat "$work/started"
    fail=1
fi

# Runs install.sh with ARGS, expecting STATUS and, when given, TEXT in its output.
run() {
    expected=$1 text=$2
    shift 2
    status=0
    HOME=$work/home sh "$folder/install.sh" "$@" >"$work/out" 2>&1 || status=$?
    if [ "$status" -ne "$expected" ] || ! grep -qF -- "$text" "$work/out"; then
        echo "FAIL: install.sh $* gave status $status (not $expected) or lacks '$text':"
        cat "$work/out"
        fail=1
    fi
}
listing() { (cd "$1" && find . | LC_ALL=C sort); }

mkdir -p "$work/home/.local/share/applications"
echo other >"$work/home/.local/share/applications/other.desktop"
before=$(listing "$work/home")
run 0 "installed into $work/home/.local"
run 0 "installed" --prefix "$work/other prefix"
run 0 "installed"
(cd "$work/home/.local" && find . ! -type d | LC_ALL=C sort) >"$work/installed"
(cd "$folder" && { echo ./bin/zarvel; find ./share -type f; echo ./share/doc/zarvel/LICENSE;
    echo ./share/doc/zarvel/NOTICES.txt; echo ./share/zarvel/installed; } | LC_ALL=C sort) >"$work/wanted"
echo ./share/applications/other.desktop >>"$work/wanted"
LC_ALL=C sort -o "$work/wanted" "$work/wanted"
diff -u "$work/wanted" "$work/installed" || { echo "FAIL: ~/.local holds other files than above"; fail=1; }
grep -qx "Exec=\"$work/other prefix/bin/zarvel\"" "$work/other prefix/share/applications/$app.desktop" ||
    { echo "FAIL: the menu entry does not start the installed program by its path"; fail=1; }
run 0 "removed" --uninstall
run 0 "removed" --uninstall --prefix="$work/other prefix"
[ "$(listing "$work/home")" = "$before" ] || { echo "FAIL: --uninstall left ~ other than before"; fail=1; }
[ ! -e "$work/other prefix" ] || { echo "FAIL: --uninstall left the prefix it made"; fail=1; }

mkdir -p "$work/home/.local/bin" && echo mine >"$work/home/.local/bin/zarvel"
run 1 "not installed by install.sh"
[ "$(cat "$work/home/.local/bin/zarvel")" = mine ] && [ ! -e "$work/home/.local/share/zarvel" ] ||
    { echo "FAIL: a file of the user's was replaced, or the install not taken back"; fail=1; }
run 1 "nothing to uninstall" --uninstall --prefix "$work/nowhere"
run 2 "unknown argument '--bogus'" --bogus
run 2 "--prefix needs a folder" --prefix
[ "$fail" -eq 0 ] && echo "the tarball's members, program and install.sh as expected"
exit "$fail"
