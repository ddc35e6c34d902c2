#!/usr/bin/env bash
# Creates a Wine prefix once (wineboot), guarded by a lock so parallel tests wait for it.
set -euo pipefail
prefix=$1
mkdir -p "$prefix"
exec 9>"$prefix.lock"
flock 9
if [ ! -f "$prefix/.bk-ready" ]; then
  WINEPREFIX="$prefix" WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all \
    /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
  WINEPREFIX="$prefix" /usr/lib/wine/wineserver -w
  touch "$prefix/.bk-ready"
fi
