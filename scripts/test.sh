#!/usr/bin/env bash
# First the native build (host clang): the platform-free logic and its tests with
# AddressSanitizer and UndefinedBehaviorSanitizer, and the fuzz targets, each for a bounded
# time. Then both Windows presets (win64 and the 32-bit win32 deliverable), and every test
# under wine64 in a fresh Wine prefix, GUI tests on a private Xvfb display. Extra arguments go
# to both ctest runs (e.g. -R parser). Exits non-zero on any failure.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
BK_QUIET=1 scripts/setup.sh

native_start=$SECONDS
cmake --preset native >/dev/null
cmake --build --preset native || { echo "test.sh: the native build failed" >&2; exit 1; }
ctest --preset native "$@"
echo "test.sh: native build and tests took $((SECONDS - native_start)) s"

# Both builds must be warning-free: the compiler treats warnings as errors (BK_WERROR).
for preset in win64 win32; do
  cmake --preset "$preset" >/dev/null
  cmake --build --preset "$preset" || { echo "test.sh: the $preset build failed" >&2; exit 1; }
done

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
# One Wine session for the whole run. The wineserver stays up (otherwise it exits whenever
# no Wine process is left, and a test starting at that moment can fail to start), and the
# session's own processes (services, the desktop window) are started here with their output
# going nowhere. Started by a test instead, they would hold that test's output pipe open, and
# CTest would wait for them until the session ends.
/usr/lib/wine/wineserver -p
/usr/lib/wine/wine64 wineboot >/dev/null 2>&1
ctest --preset win64 "$@"
