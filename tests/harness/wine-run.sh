#!/usr/bin/env bash
# Runs one Windows test program under wine64 in the test run's Wine prefix.
# scripts/test.sh sets WINEPREFIX (fresh per run) and DISPLAY (Xvfb); run alone, the prefix
# defaults to one beside the build and is created on first use.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
exe=$1; shift
: "${WINEPREFIX:=$(cd "$(dirname "$exe")/.." && pwd)/wineprefix}"
export WINEPREFIX
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}"
export WINEDEBUG="${WINEDEBUG:--all}"
"$here/wine-prefix.sh" "$WINEPREFIX"
# The program's output goes through a file: a Wine service the program happens to start (the
# RPC service for a call between apartments, say) inherits its standard handles and lives on,
# and CTest would otherwise wait for that service to close the output pipe.
out=$(mktemp)
trap 'rm -f "$out"' EXIT
status=0
/usr/lib/wine/wine64 "$exe" "$@" >"$out" 2>&1 </dev/null || status=$?
cat "$out"
exit "$status"
