#!/bin/sh
# SPDX-License-Identifier: MIT
# Runs the browser test (or SCRIPT, e.g. bench/web-bench.js) on BUILD_DIR,
# the web preset's build, with puppeteer-core installed from
# package-lock.json into BUILD_DIR/browser-test when its lock there differs.
# Chromium comes from Debian (install-deps --browser-test).
#   tests/web/run.sh BUILD_DIR [SCRIPT]
set -eu
here=$(cd "$(dirname "$0")" && pwd)
npm_dir=$1/browser-test
if ! cmp -s "$here/package-lock.json" "$npm_dir/package-lock.json"; then
    rm -rf "$npm_dir"
    mkdir -p "$npm_dir"
    cp "$here/package.json" "$here/package-lock.json" "$npm_dir/"
    (cd "$npm_dir" && npm ci --no-audit --no-fund --loglevel=error)
fi
NODE_PATH=$npm_dir/node_modules exec node "${2:-$here/browser-test.js}" "$1"
