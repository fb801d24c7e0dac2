#!/bin/sh
# The real program under a window manager (openbox), driven as a user drives
# it with the keyboard and the mouse: tool windows stay above the main
# window, and File > Exit ends the program with its settings written.
set -u
kinemo="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$kinemo" "$work/kinemo"
for tool in openbox wmctrl xdotool xprop xvfb-run; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (scripts/install-deps.sh installs it)"; exit 1; }
done
cat >"$work/session.sh" <<'SESSION'
set -u
work="$1"
fail() { echo "FAIL: $*"; kill "$pid" 2>/dev/null; exit 1; }
openbox >/dev/null 2>&1 &
for _ in $(seq 1 50); do wmctrl -m >/dev/null 2>&1 && break; sleep 0.1; done
wmctrl -m >/dev/null 2>&1 || { echo "FAIL: openbox did not start"; exit 1; }
HOME="$work/home" "$work/kinemo" >"$work/out" 2>"$work/err" &
pid=$!
window() {  # the id of the window titled $1, as wmctrl lists it (empty: none)
  wmctrl -l | awk -v t="$1" '{ n = $0; sub(/^[^ ]+ +[^ ]+ +[^ ]+ /, "", n); if (n == t) print $1 }' | head -1
}
wait_for() {
  for _ in $(seq 1 150); do
    [ -n "$(window "$1")" ] && return 0
    kill -0 "$pid" 2>/dev/null || return 1
    sleep 0.2
  done
  return 1
}
wait_for "Kinemo - unnamed.rig" || { cat "$work/err"; fail "the main window did not appear"; }
main=$(window "Kinemo - unnamed.rig")
sleep 1
# Windows > Keyframer Window, from the keyboard.
xdotool windowactivate --sync "$main" >/dev/null 2>&1
xdotool key --clearmodifiers alt+w
sleep 0.5
xdotool key k
wait_for "Keyframer" || fail "Windows > Keyframer Window showed no Keyframer"
keyframer=$(window "Keyframer")
owner=$(xprop -id "$keyframer" WM_TRANSIENT_FOR | sed -n 's/.*window id # //p')
[ "$(printf '%d' "$owner")" -eq "$(printf '%d' "$main")" ] ||
  fail "the Keyframer is transient for $owner, not for the main window $main"
# A click in the main window's work area must not send it behind.
eval "$(xdotool getwindowgeometry --shell "$main")"
xdotool mousemove $((X + WIDTH / 2)) $((Y + HEIGHT / 2)) click 1
sleep 0.5
stacking=$(xprop -root _NET_CLIENT_LIST_STACKING | sed 's/.*# //' | tr -d ' ')
order=$(echo "$stacking" | tr ',' '\n' | while read -r w; do printf '%d\n' "$w"; done)
mainAt=$(echo "$order" | grep -n "^$(printf '%d' "$main")\$" | cut -d: -f1)
keyframerAt=$(echo "$order" | grep -n "^$(printf '%d' "$keyframer")\$" | cut -d: -f1)
[ -n "$mainAt" ] && [ -n "$keyframerAt" ] && [ "$keyframerAt" -gt "$mainAt" ] ||
  fail "after a click in the main window the Keyframer is below it (stacking $stacking)"
# File > Exit: the program ends within 5 s, with status 0 and its settings.
xdotool windowactivate --sync "$main" >/dev/null 2>&1
xdotool key --clearmodifiers alt+f
sleep 0.5
xdotool key x
ended=0
for _ in $(seq 1 50); do
  kill -0 "$pid" 2>/dev/null || { ended=1; break; }
  sleep 0.1
done
[ "$ended" -eq 1 ] || fail "File > Exit left the program running after 5 s"
wait "$pid"
rc=$?
[ "$rc" -eq 0 ] || { cat "$work/err"; fail "exit status $rc after File > Exit"; }
[ -f "$work/default.cfg" ] || fail "default.cfg not written at exit"
exit 0
SESSION
xvfb-run -a -s "-screen 0 1600x1200x24 -noreset" sh "$work/session.sh" "$work" || exit 1
echo "PASS"
