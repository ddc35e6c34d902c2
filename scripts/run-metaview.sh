#!/usr/bin/env bash
# Runs Metaview under wine64 on FILE (default: the bundled sample photo samples/rose.jpg).
# Installs what is missing and builds first. With a DISPLAY, Metaview opens there and the
# script returns when it is closed. Without one, it runs on a private Xvfb display, waits for
# the result, saves a screenshot to build/metaview.png and closes Metaview.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
BK_QUIET=1 scripts/setup.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target Metaview Basekit0308 exiftool_beside_metaview >/dev/null

file=${1:-$top/samples/rose.jpg}
case "$file" in
  /*) ;;
  *) file="$PWD/$file" ;;
esac
winfile="Z:${file//\//\\}"
export WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all
: "${WINEPREFIX:=$top/build/win64/wineprefix}"
export WINEPREFIX
tests/harness/wine-prefix.sh "$WINEPREFIX"
exe="$top/build/win64/bin/Metaview.exe"

if [ -n "${DISPLAY:-}" ]; then
  exec /usr/lib/wine/wine64 "$exe" "$winfile"
fi

. scripts/xvfb.sh
cleanup() { /usr/lib/wine/wineserver -k >/dev/null 2>&1 || true; bk_stop_xvfb; }
trap cleanup EXIT
bk_start_xvfb
/usr/lib/wine/wine64 "$exe" "$winfile" &
pid=$!
# ExifTool needs a few seconds under Wine; wait for the run to finish.
sleep "${BK_SHOT_DELAY:-12}"
import -window root "$top/build/metaview.png"
echo "Screenshot: $top/build/metaview.png"
kill "$pid" 2>/dev/null || true
