#!/usr/bin/env bash
# SPDX-License-Identifier: MIT
# Builds the release of HEAD twice with scripts/release, as two different
# builders would, and fails unless both SHA256SUMS are the same; on a
# mismatch diffoscope shows what differs in each artifact that differs.
#   first:  from this checkout, umask 022, TZ=UTC, LC_ALL=C.UTF-8, in WORK_DIR/a
#   second: from a second checkout (a clone of HEAD at another path, with
#           build/ caches of its own), umask 002, TZ=Pacific/Chatham
#           (UTC+13:45 in December), LC_ALL=tr_TR.UTF-8, in a longer path,
#           seconds later, on disorderfs with every directory's entries
#           shuffled (on a plain directory, said loudly, where FUSE is missing)
# The second checkout builds its cross-built libraries itself; what it would
# only download again, Debian's packages unpacked into the Arm sysroots and
# the Debian 11 root, it takes from this checkout's build/ as copies (hard
# links) at its own paths.
#   tests/release/rebuild-twice.sh [WORK_DIR]      (default build/rebuild-twice)
set -euo pipefail
work=${1:-$(dirname "$0")/../../build/rebuild-twice}
work=$(mkdir -p "$work" && cd "$work" && pwd)
cd "$(dirname "$0")/../.."
scripts/install-deps --windows --reproducible
checkout=$PWD
second=$work/b/a-longer/path-for-the-second-build
# A run that was stopped may have left its disorderfs mounted.
if mountpoint -q "$second"; then fusermount -u "$second"; fi
rm -rf "$work"
mkdir -p "$work"

# A Turkish locale of our own (its i and I fold unlike any other), made with
# localedef into the work folder, so the machine's locales stay as they are.
mkdir -p "$work/locales"
localedef -i tr_TR -f UTF-8 "$work/locales/tr_TR.UTF-8" 2>/dev/null || true
[ -d "$work/locales/tr_TR.UTF-8" ] || { echo "rebuild-twice: localedef made no tr_TR.UTF-8" >&2; exit 1; }

mkdir -p "$work/b-backing" "$second"
mounted=0
unmount() { [ "$mounted" -eq 0 ] || fusermount -u "$second"; }
trap unmount EXIT
if [ -c /dev/fuse ] && disorderfs --shuffle-dirents=yes "$work/b-backing" "$second" >"$work/disorderfs.log" 2>&1; then
    mounted=1
    order="disorderfs, shuffled directory entries"
else
    order="a plain directory: NO FUSE, so the directory order is NOT varied"
    echo "rebuild-twice: disorderfs could not mount ($(tail -n 1 "$work/disorderfs.log")): $order"
fi

started=$SECONDS
(umask 022 && env TZ=UTC LC_ALL=C.UTF-8 scripts/release "$work/a-out" "$work/a") >"$work/a.log" 2>&1 ||
    { cat "$work/a.log"; exit 1; }
first_took=$((SECONDS - started))
sleep 1
started=$SECONDS
clone=$work/b-checkout/another/zarvel
(
    umask 002
    git clone --quiet --no-checkout "$checkout" "$clone"
    git -C "$clone" checkout --quiet --detach "$(git rev-parse HEAD)"
    mkdir -p "$clone/build"
    for cache in sysroot-arm64 sysroot-armhf portable-root; do
        [ ! -d "build/$cache" ] || cp -a --link "build/$cache" "$clone/build/"
    done
    cd "$clone"
    env TZ=Pacific/Chatham LOCPATH="$work/locales" LC_ALL=tr_TR.UTF-8 \
        scripts/release "$work/b-out" "$second"
) >"$work/b.log" 2>&1 || { cat "$work/b.log"; exit 1; }
second_took=$((SECONDS - started))
echo "first release build $first_took s, second (from $clone, $order) $second_took s"

if cmp -s "$work/a-out/SHA256SUMS" "$work/b-out/SHA256SUMS"; then
    cat "$work/a-out/SHA256SUMS"
    echo "rebuild-twice: $(wc -l <"$work/a-out/SHA256SUMS") artifacts bit for bit the same"
    unmount
    mounted=0
    rm -rf "$work/a" "$work/b-backing" "$work/b" "$work/b-checkout"
    exit 0
fi

echo "FAIL: the two builds differ:"
diff "$work/a-out/SHA256SUMS" "$work/b-out/SHA256SUMS" || true
scripts/install-deps --diffoscope
while read -r _ file; do
    if ! cmp -s "$work/a-out/$file" "$work/b-out/$file"; then
        diffoscope --text "$work/$file.diffoscope.txt" "$work/a-out/$file" "$work/b-out/$file" || true
        echo "== $file (whole report: $work/$file.diffoscope.txt)"
        head -n 150 "$work/$file.diffoscope.txt"
    fi
done <"$work/a-out/SHA256SUMS"
exit 1
