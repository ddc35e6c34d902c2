#!/usr/bin/env bash
# Runs one Windows test program under wine64 in a Wine prefix of its own, made for the run and
# removed after it: for tests that install software, so that neither the shared prefix of the
# test run nor the next run sees what they did. Wine's menu builder is off, so that shortcuts
# made in the prefix put no menu entries or file associations into the host's desktop.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
exe=$1; shift
run=$(mktemp -d /tmp/bk-prefix.XXXXXX)
export WINEPREFIX="$run/prefix" WINEDEBUG="${WINEDEBUG:--all}"
cleanup() {
  /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true
  rm -rf "$run" "$run.lock" "$WINEPREFIX.lock"
}
trap cleanup EXIT
WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d" "$here/../harness/wine-prefix.sh" "$WINEPREFIX"
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
# One session for the run, its own processes started here with their output going nowhere (as
# scripts/test.sh does for the shared prefix).
/usr/lib/wine/wineserver -p
/usr/lib/wine/wine64 wineboot >/dev/null 2>&1
out="$run/output.txt"
status=0
/usr/lib/wine/wine64 "$exe" "$@" >"$out" 2>&1 </dev/null || status=$?
cat "$out"
exit "$status"
