#!/usr/bin/env bash
# Builds both presets (win64 and the 32-bit win32 deliverable) and runs every test under
# wine64 in a fresh Wine prefix, GUI tests on a private Xvfb display. Extra arguments go to
# ctest (e.g. -R parser). Exits non-zero on any failure.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
BK_QUIET=1 scripts/setup.sh

cmake --preset win64 >/dev/null
cmake --build --preset win64
cmake --preset win32 >/dev/null
cmake --build --preset win32

run=$(mktemp -d /tmp/bk-test.XXXXXX)
export WINEPREFIX="$run/prefix" WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all
. scripts/xvfb.sh
cleanup() {
  /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
  bk_stop_xvfb
  rm -rf "$run"
}
trap cleanup EXIT
bk_start_xvfb
tests/harness/wine-prefix.sh "$WINEPREFIX"
ctest --preset win64 "$@"
