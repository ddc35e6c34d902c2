# Sourced by the scripts: starts a private Xvfb on a free display and exports DISPLAY.
# The caller's EXIT trap must call bk_stop_xvfb.
bk_start_xvfb() {
  local fdfile
  fdfile=$(mktemp)
  Xvfb -displayfd 3 -screen 0 1280x1024x24 -nolisten tcp 3>"$fdfile" >/dev/null 2>&1 &
  BK_XVFB_PID=$!
  for _ in $(seq 1 100); do
    [ -s "$fdfile" ] && break
    sleep 0.1
  done
  [ -s "$fdfile" ] || { rm -f "$fdfile"; echo "Xvfb did not start" >&2; return 1; }
  export DISPLAY=":$(head -n1 "$fdfile")"
  rm -f "$fdfile"
}
bk_stop_xvfb() {
  [ -n "${BK_XVFB_PID:-}" ] && kill "$BK_XVFB_PID" 2>/dev/null || true
}
