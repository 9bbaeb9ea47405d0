#!/bin/sh
# SPDX-License-Identifier: MIT
# Packs the portable game into OUT, a tar.gz of one folder FOLDER: what the
# build's install rules put under a prefix, the program moved from bin/ to
# the top, and the FILEs given (install.sh, README.txt, the licences). The
# members are sorted, owned by root, dated EPOCH and 0644 or 0755 whatever
# the builder's umask; gzip stores no name or time.
#   tarball.sh CMAKE BUILD_DIR OUT FOLDER EPOCH FILE...
set -eu
cmake=$1 build=$2 out=$3 folder=$4 epoch=$5
shift 5
stage=$(dirname "$out")/portable-stage
rm -rf "$stage"
mkdir -p "$stage"
"$cmake" --install "$build" --prefix "$stage/$folder" --strip >"$stage.log"
mv "$stage/$folder/bin/zarvel" "$stage/$folder/zarvel"
rmdir "$stage/$folder/bin"
cp "$@" "$stage/$folder/"
tar -C "$stage" --sort=name --format=gnu --owner=0 --group=0 --numeric-owner \
    --mtime="@$epoch" --mode=u+rw,go=rX -cf - "$folder" | gzip -9n >"$out.new"
mv "$out.new" "$out"
