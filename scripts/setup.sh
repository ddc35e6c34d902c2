#!/usr/bin/env bash
# Installs what the project needs and is missing, idempotently and quietly:
# Debian packages (mingw-w64, Wine, widl, GoogleTest sources, clang with its sanitizer and
# libFuzzer runtimes for the native build, Xvfb, ImageMagick, NSIS for the installers, a
# Russian locale for the code-page tests) and the pinned npm package holding ExifTool for
# Windows.
# Fails loudly with the reason.
set -euo pipefail
top=$(cd "$(dirname "$0")/.." && pwd)

EXIFTOOL_PACKAGE=exiftool-vendored.exe
EXIFTOOL_VERSION=13.64.0

packages=(
  cmake ninja-build python3 file
  g++-mingw-w64-x86-64-posix g++-mingw-w64-i686-posix binutils-mingw-w64-x86-64 binutils-mingw-w64-i686
  wine64 wine64-tools libwine-dev fonts-wine
  googletest
  clang libclang-rt-14-dev
  xvfb xauth x11-utils imagemagick
  nsis
  locales
)
# Node.js and npm may come from elsewhere than Debian's packages; only a missing npm asks for them.
command -v npm >/dev/null 2>&1 || packages+=(nodejs npm)

say() { [ -n "${BK_QUIET:-}" ] || echo "setup: $*"; }
die() { echo "setup: FAILED: $*" >&2; exit 1; }

missing=()
for p in "${packages[@]}"; do
  dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed" || missing+=("$p")
done
if [ ${#missing[@]} -gt 0 ]; then
  [ "$(id -u)" = 0 ] || die "packages missing (${missing[*]}) and not running as root to install them"
  say "installing ${missing[*]}"
  export DEBIAN_FRONTEND=noninteractive
  apt-get update -qq >/dev/null || die "apt-get update failed"
  apt-get install -y -qq --no-install-recommends "${missing[@]}" >/dev/null \
    || die "apt-get install ${missing[*]} failed"
fi

# 32-bit Wine must not be used: this machine cannot run 32-bit binaries.
[ -x /usr/lib/wine/wine64 ] || die "/usr/lib/wine/wine64 not found after installing wine64"
[ -x /usr/lib/wine/widl ] || die "/usr/lib/wine/widl not found after installing wine64-tools"

# The Russian locale lets Wine run with the Windows-1251 ANSI code page in tests.
if ! locale -a 2>/dev/null | grep -qi '^ru_RU\.utf-\?8$'; then
  say "generating locale ru_RU.UTF-8"
  localedef -i ru_RU -f UTF-8 ru_RU.UTF-8 >/dev/null 2>&1 || die "localedef ru_RU.UTF-8 failed"
fi

# ExifTool for Windows, pinned, unpacked into tools/exiftool (npm refuses to install a
# win32-only package on Linux, so the package is fetched with `npm pack` and unpacked).
dest="$top/tools/exiftool"
have=$(python3 -c "import json,sys;print(json.load(open(sys.argv[1]))['version'])" "$dest/package.json" 2>/dev/null || true)
if [ "$have" != "$EXIFTOOL_VERSION" ]; then
  say "installing $EXIFTOOL_PACKAGE@$EXIFTOOL_VERSION"
  work=$(mktemp -d)
  trap 'rm -rf "$work"' EXIT
  (cd "$work" && npm pack --silent --loglevel=error "$EXIFTOOL_PACKAGE@$EXIFTOOL_VERSION" >/dev/null) \
    || die "npm pack $EXIFTOOL_PACKAGE@$EXIFTOOL_VERSION failed"
  tar -xzf "$work"/*.tgz -C "$work" || die "unpacking $EXIFTOOL_PACKAGE failed"
  rm -rf "$dest"
  mkdir -p "$top/tools"
  mv "$work/package" "$dest"
fi
[ -f "$dest/bin/exiftool.exe" ] || die "ExifTool not found at $dest/bin/exiftool.exe"
exit 0
