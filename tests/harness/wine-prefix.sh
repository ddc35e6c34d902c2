#!/usr/bin/env bash
# Creates a Wine prefix once (wineboot), guarded by a lock so parallel tests wait for it.
# It also makes the prefix fit for unattended GUI runs:
#  - Wine's own fonts (Tahoma, Marlett for frame buttons, ...) are copied into C:\windows\Fonts,
#    since this Wine build does not find its font folder by itself;
#  - X11 windows are not managed: without a window manager (Xvfb), Wine otherwise waits about
#    two seconds whenever a managed top-level window is hidden or destroyed.
set -euo pipefail
prefix=$1
mkdir -p "$prefix"
exec 9>"$prefix.lock"
flock 9
if [ ! -f "$prefix/.bk-ready" ]; then
  export WINEPREFIX="$prefix" WINEDLLOVERRIDES="mscoree,mshtml=" WINEDEBUG=-all
  /usr/lib/wine/wine64 wineboot -i >/dev/null 2>&1
  fonts="$prefix/drive_c/windows/Fonts"
  mkdir -p "$fonts"
  cp -n /usr/share/wine/fonts/*.ttf "$fonts/" 2>/dev/null || true
  /usr/lib/wine/wine64 reg add 'HKCU\Software\Wine\X11 Driver' /v Managed /t REG_SZ /d N /f >/dev/null 2>&1
  /usr/lib/wine/wineserver -w
  touch "$prefix/.bk-ready"
fi
