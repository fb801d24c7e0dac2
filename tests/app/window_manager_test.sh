#!/bin/sh
# The real program under a window manager (openbox), driven as a user drives
# it with the keyboard and the mouse: tool windows stay above the main
# window, and File > Exit ends the program with its settings written.
set -u
kinemo="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$kinemo" "$work/kinemo"
# Its start-up script and plug-ins, for the import below.
here=$(cd "$(dirname "$0")" && pwd)
ln -s "$here/../../system" "$work/system"
ln -s "$(dirname "$kinemo")/plugins" "$work/plugins"
for tool in openbox wmctrl xdotool xprop xvfb-run import convert; do
  command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (scripts/install-deps.sh installs it)"; exit 1; }
done
# A box 0.2 units wide, 40 units away from the origin.
{
  for v in "0 0 0" "1 0 0" "1 1 0" "0 1 0" "0 0 1" "1 0 1" "1 1 1" "0 1 1"; do
    set -- $v
    awk -v x="$1" -v y="$2" -v z="$3" 'BEGIN { print "v", 40 + x * 0.2, y * 0.2, 30 + z * 0.2 }'
  done
  printf 'f 1 4 3 2\nf 5 6 7 8\nf 1 2 6 5\nf 2 3 7 6\nf 3 4 8 7\nf 4 1 5 8\n'
} >"$work/speck.obj"
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
# An import is framed: a small box far from the origin, imported from the
# script console, fills a fair share of the main window (before the change
# it was a speck or out of sight).
xdotool windowactivate --sync "$main" >/dev/null 2>&1
sleep 1
xdotool key --clearmodifiers alt+w
sleep 0.5
xdotool key s
wait_for "Console" || { wmctrl -l; fail "Windows > Script Console Window showed no console"; }
sleep 0.5
xdotool type --delay 5 "assert(ImportFile('$work/speck.obj'))"
xdotool key Return
sleep 2
# The console and the Keyframer (white lists) go out of the picture.
wmctrl -c "Console"
wmctrl -c "Keyframer"
xdotool windowactivate --sync "$main" >/dev/null 2>&1
sleep 1
eval "$(xdotool getwindowgeometry --shell "$main")"
import -window root "$work/shot.png" 2>/dev/null || fail "no screenshot"
# The lit box is the only near-white thing on the grey backdrop and grid.
share=$(convert "$work/shot.png" -crop "${WIDTH}x${HEIGHT}+${X}+${Y}" -colorspace gray \
  -threshold 82% -format "%[fx:mean]" info:)
awk -v s="$share" 'BEGIN { exit !(s > 0.02) }' ||
  fail "after an import the model covers only $share of the main window"
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
