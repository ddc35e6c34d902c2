#!/usr/bin/env bash
# Times Metaview from its start until the listing is shown (the mark Metaview writes when
# METAVIEW_TIMING_FILE names a file) against ExifTool alone with the same options, both under
# wine64 in one prefix, on three files:
#   photo  samples/rose.jpg, an ordinary photo
#   comment-0.5MB  rose.jpg with a 0.5 MB comment of words
#   long   rose.jpg with a 5 MB comment of words: lines of about 65,000 characters
#   short  a JSON file of 75,000 short fields: a 5 MB listing of short lines
# The big files are made at the start of the run (the comment is put in by ExifTool). Runs go
# in pairs, Metaview then ExifTool alone, so that a change in the machine's load hits both of
# a pair; the figure that counts is the median of the paired differences.
#   scripts/bench-metaview.sh [BUILD_DIR] [PHOTO_PAIRS] [BIG_PAIRS]   (build/win64, 7, 3)
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=$(cd "${1:-$root/build/win64}" && pwd)
photoPairs=${2:-7}
bigPairs=${3:-3}
bin=$build/bin
wine=/usr/lib/wine/wine64

. "$root/scripts/xvfb.sh"
work=$(mktemp -d)
export WINEPREFIX=${WINEPREFIX:-$work/prefix}
export WINEDLLOVERRIDES="${WINEDLLOVERRIDES:-mscoree,mshtml=}" WINEDEBUG=-all
cleanup() {
  /usr/lib/wine/wineserver -k 2>/dev/null || true
  bk_stop_xvfb
  rm -rf "$work"
}
trap cleanup EXIT
bk_start_xvfb
"$root/tests/harness/wine-prefix.sh" "$WINEPREFIX"
/usr/lib/wine/wineserver -p 2>/dev/null || true  # stays up between runs, so no run pays for its start (it may already be up)
"$wine" "$bin/guidriver.exe" find >/dev/null 2>&1 || true  # wine started once before timing

now() { date +%s.%N; }
median() { sort -g | awk '{a[NR]=$1} END {print (NR%2 ? a[(NR+1)/2] : (a[NR/2]+a[NR/2+1])/2)}'; }
winpath() { "$wine" winepath -w "$1" 2>/dev/null | tr -d '\r'; }

# Words in a fixed pseudo-random order, so every run lists the same text.
words() {
  awk -v n="$1" 'BEGIN {
    split("alpha beta gamma delta image photo river stone cloud light", w, " ");
    s = 12345;
    for (i = 0; i < n; i++) { s = (s * 1103515245 + 12345) % 2147483648; printf "%s ", w[int(s / 65536) % 10 + 1] }
  }'
}

echo "Making the big files..."
for size in 500000 5000000; do
  cp "$root/samples/rose.jpg" "$work/comment$size.jpg"
  words $((size / 6 + 1000)) | head -c "$size" >"$work/comment.txt"
  "$wine" "$bin/exiftool.exe" -q -overwrite_original "-Comment<=$(winpath "$work/comment.txt")" \
    "$(winpath "$work/comment$size.jpg")" >/dev/null 2>&1
done
awk 'BEGIN {
  split("alpha beta gamma delta image photo river stone cloud light", w, " ");
  s = 6789; printf "{";
  for (i = 0; i < 75000; i++) {
    v = "";
    for (j = 0; j < 6; j++) { s = (s * 1103515245 + 12345) % 2147483648; v = v (j ? " " : "") w[int(s / 65536) % 10 + 1] }
    printf "%s\"field%05d\": \"%s\"", (i ? ", " : ""), i, v
  }
  printf "}\n"
}' >"$work/short.json"

marks=$work/marks.txt
export METAVIEW_TIMING_FILE
METAVIEW_TIMING_FILE=$(winpath "$marks")
winresult=$(winpath "$work/out.txt")

# One Metaview run on $1; prints its time until the listing is shown and until its window was.
time_metaview() {
  local file=$1 timeout=$2 start shown window pid
  rm -f "$marks"
  start=$(now)
  "$wine" "$bin/Metaview.exe" "$file" &
  pid=$!
  # Metaview appends "result-shown <time>" once the listing is in its box and painted; the
  # mark carries the moment, so it is looked for only twice a second. A tighter watch, or a
  # second Windows process polling the window, competes with Metaview and ExifTool for the
  # processor and slows both.
  for _ in $(seq 1 $((timeout * 2))); do
    grep -q '^result-shown ' "$marks" 2>/dev/null && break
    sleep 0.5
  done
  shown=$(awk '$1 == "result-shown" {print $2; exit}' "$marks" 2>/dev/null)
  [ -n "$shown" ] || { echo "Metaview showed no listing within $timeout s" >&2; kill "$pid" 2>/dev/null; exit 1; }
  window=$(awk '$1 == "window-shown" {print $2; exit}' "$marks" 2>/dev/null)
  # Untimed: the box really holds the listing.
  "$wine" "$bin/guidriver.exe" waittext --class MetaviewMainWindow --timeout 30000 "ExifTool Version Number" >/dev/null
  "$wine" "$bin/guidriver.exe" key --class MetaviewMainWindow 27 >/dev/null
  wait "$pid" || true  # the run is measured; its exit code is not
  echo "$(echo "$shown - $start" | bc) $(echo "${window:-$shown} - $start" | bc)"
}

# ExifTool alone on $1 with Metaview's options; prints its time.
time_exiftool() {
  local start
  rm -f "$work/out.txt"
  start=$(now)
  "$wine" "$bin/exiftool.exe" -a -u -g1 -W+! "$winresult" -charset FileName="Cyrillic" -lang "en" -- "$1" \
    >/dev/null 2>&1
  echo "$(now) - $start" | bc
}

report() {
  local name=$1 file=$2 pairs=$3 timeout=$4 m e
  local metaview=() exiftool=() differences=() windows=() times
  for _ in $(seq 1 "$pairs"); do
    times=$(time_metaview "$file" "$timeout") || exit 1
    m=${times% *}
    windows+=("${times#* }")
    e=$(time_exiftool "$file") || exit 1
    metaview+=("$m")
    exiftool+=("$e")
    differences+=("$(echo "$m - $e" | bc)")
  done
  local mm em dm listing
  mm=$(printf '%s\n' "${metaview[@]}" | median)
  em=$(printf '%s\n' "${exiftool[@]}" | median)
  dm=$(printf '%s\n' "${differences[@]}" | median)
  listing=$(stat -c %s "$work/out.txt" 2>/dev/null || echo 0)
  echo
  echo "== $name ($pairs pairs; listing $listing bytes, $(wc -l <"$work/out.txt" 2>/dev/null || echo 0) lines," \
    "longest $(awk '{ if (length($0) > n) n = length($0) } END { print n + 0 }' "$work/out.txt" 2>/dev/null) characters)"
  echo "Metaview until shown (s): ${metaview[*]}"
  echo "ExifTool alone (s):       ${exiftool[*]}"
  echo "paired differences (s):   ${differences[*]}"
  printf 'median Metaview %.3f s, median ExifTool %.3f s, median paired difference %.3f s, ratio %.2f\n' \
    "$mm" "$em" "$dm" "$(echo "$mm / $em" | bc -l)"
  printf 'median start until the window is shown (ExifTool starts before it): %.3f s\n' \
    "$(printf '%s\n' "${windows[@]}" | median)"
}

report photo "$(winpath "$root/samples/rose.jpg")" "$photoPairs" 60
report comment-0.5MB "$(winpath "$work/comment500000.jpg")" "$bigPairs" 120
report long "$(winpath "$work/comment5000000.jpg")" "$bigPairs" 120
report short "$(winpath "$work/short.json")" "$bigPairs" 180
