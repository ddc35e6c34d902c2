#!/usr/bin/env bash
# Pictures for the README and the record, written as PNG files into build/screenshots (or the
# folder given): Metaview's listing, a failure report and the settings dialog; every page of
# the About box, the update check's result against a local server and the hidden picture.
# Builds what is needed first and runs the GUI test programs that take them on a private Xvfb
# display (or on DISPLAY when set). The README's pictures in docs/images are copies of these.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)
cd "$top"
BK_QUIET=1 scripts/setup.sh
cmake --preset win64 >/dev/null
cmake --build --preset win64 --target lib_about_gui_test lib_about_update_test app_mainwindow_gui_test >/dev/null

out=${1:-$top/build/screenshots}
mkdir -p "$out"
out=$(cd "$out" && pwd)
export WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all
: "${WINEPREFIX:=$top/build/win64/wineprefix}"
export WINEPREFIX
export BK_SCREENSHOT_DIR="Z:${out//\//\\}"
if [ -z "${DISPLAY:-}" ]; then
  . scripts/xvfb.sh
  trap bk_stop_xvfb EXIT
  bk_start_xvfb
fi
tests/harness/wine-run.sh build/win64/bin/app_mainwindow_gui_test.exe \
  --gtest_filter='*Screenshots*' >/dev/null
tests/harness/wine-run.sh build/win64/bin/lib_about_gui_test.exe \
  --gtest_filter='*Screenshots*:*HiddenPicture*' >/dev/null
tests/harness/wine-run.sh build/win64/bin/lib_about_update_test.exe \
  --gtest_filter='*NewerOnTheSite*' >/dev/null
ls "$out"/*.png
