#!/bin/sh
# SPDX-License-Identifier: MIT
# Installs Zarvel from this folder for one user, no root needed: the program
# in PREFIX/bin, the menu entry, icons, metainfo, man page and licences under
# PREFIX/share, where desktops look for them. PREFIX is ~/.local unless
# given. Every file and folder it makes is listed in
# PREFIX/share/zarvel/installed, and --uninstall removes exactly those.
# Installing again first removes what the earlier install listed.
#   ./install.sh [--prefix DIR]
#   ./install.sh --uninstall [--prefix DIR]
set -eu

usage() {
    echo "usage: install.sh [--prefix DIR] [--uninstall]"
    echo "  --prefix DIR   install under DIR/bin and DIR/share (default: ~/.local)"
    echo "  --uninstall    remove what install.sh installed under that prefix"
}
fail() {
    echo "install.sh: $1" >&2
    exit "${2:-1}"
}

prefix=""
uninstall=0
while [ $# -gt 0 ]; do
    case $1 in
    --prefix)
        [ $# -ge 2 ] && [ -n "$2" ] || fail "--prefix needs a folder: --prefix DIR" 2
        prefix=$2
        shift
        ;;
    --prefix=*)
        prefix=${1#--prefix=}
        [ -n "$prefix" ] || fail "--prefix= needs a folder: --prefix=DIR" 2
        ;;
    --uninstall) uninstall=1 ;;
    -h | --help) usage; exit 0 ;;
    *) usage >&2; fail "unknown argument '$1'" 2 ;;
    esac
    shift
done
if [ -z "$prefix" ]; then
    [ -n "${HOME:-}" ] || fail "HOME is not set: name the folder with --prefix DIR" 2
    prefix=$HOME/.local
fi
# The menu entry names the program by its full path, which a desktop entry
# cannot hold with these characters as they are.
case $prefix in
*[\"\`\$\\%]* | *"
"*) fail "the prefix may not contain a quote, \`, \$, \\, % or a new line: $prefix" 2 ;;
/*) ;;
*) prefix=$(pwd)/$prefix ;;
esac
here=$(cd "$(dirname "$0")" && pwd)
list=$prefix/share/zarvel/installed

# Removes the files the list names, then its folders, deepest first, those
# left empty (anything else put in them is kept), and the list.
remove_listed() {
    sed -n 's/^file //p' "$list" | while IFS= read -r path; do rm -f "$path"; done
    folders=$(sed -n 's/^folder //p' "$list" | LC_ALL=C sort -r)
    rm -f "$list"
    printf '%s\n' "$folders" | while IFS= read -r path; do
        [ -z "$path" ] || rmdir "$path" 2>/dev/null || echo "install.sh: kept $path, which is not empty"
    done
}

# Makes the folder DIR and those above it that are missing, listing each.
make_folders() {
    [ ! -d "$1" ] || return 0
    make_folders "$(dirname "$1")"
    mkdir "$1"
    echo "folder $1" >>"$list"
}

# Copies FILE of this folder to PATH under the prefix with MODE. It is listed
# before it is written, so that an interrupted install is removed too.
put() {
    target=$prefix/$2
    [ ! -e "$target" ] && [ ! -L "$target" ] || fail "$target is there already, not installed by install.sh: remove it first"
    make_folders "$(dirname "$target")"
    echo "file $target" >>"$list"
    cp "$here/$1" "$target"
    chmod "$3" "$target"
}

if [ "$uninstall" -eq 1 ]; then
    [ -f "$list" ] || fail "nothing to uninstall: install.sh has installed no Zarvel under $prefix"
    remove_listed
    echo "Zarvel removed from $prefix"
    exit 0
fi
[ -x "$here/zarvel" ] && [ -d "$here/share" ] || fail "$here is not an unpacked Zarvel folder"
[ ! -f "$list" ] || remove_listed
# The list's own folders are listed once the list can be written.
missing=""
folder=$(dirname "$list")
while [ ! -d "$folder" ]; do
    missing="$folder
$missing"
    folder=$(dirname "$folder")
done
mkdir -p "$(dirname "$list")" || fail "cannot make the folder $(dirname "$list")"
: >"$list"
printf '%s' "$missing" | while IFS= read -r folder; do echo "folder $folder" >>"$list"; done
# An install that stops half-way is taken back.
take_back() {
    [ "$1" -eq 0 ] || { remove_listed; echo "install.sh: nothing installed" >&2; }
}
trap 'take_back $?' EXIT

put zarvel bin/zarvel 0755
# The names under share/ have no spaces.
for path in $(cd "$here" && find share -type f | LC_ALL=C sort); do
    put "$path" "$path" 0644
done
for doc in LICENSE NOTICES.txt; do
    put "$doc" "share/doc/zarvel/$doc" 0644
done
# The menu entry starts the program by its full path, whatever the PATH.
entry=$prefix/share/applications/org.zarvel.Zarvel.desktop
sed "s|^Exec=zarvel\$|Exec=\"$prefix/bin/zarvel\"|" "$here/share/applications/org.zarvel.Zarvel.desktop" >"$entry"

echo "Zarvel installed into $prefix: $prefix/bin/zarvel, with a menu entry and 'man zarvel'"
case ":${PATH:-}:" in
*":$prefix/bin:"*) ;;
*) echo "$prefix/bin is not on your PATH: add it there to start zarvel by name in a terminal" ;;
esac
