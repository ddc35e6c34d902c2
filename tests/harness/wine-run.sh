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
exec /usr/lib/wine/wine64 "$exe" "$@"
