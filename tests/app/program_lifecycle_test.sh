#!/bin/sh
# Runs a copy of the kinemo program in a scratch folder (its program folder).
set -u
kinemo="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cp "$kinemo" "$work/kinemo"
fail() { echo "FAIL: $*"; exit 1; }

# 1. No display at all: one clear line, non-zero exit, no crash.
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$work/kinemo" >"$work/out" 2>"$work/err"
rc=$?
[ "$rc" -eq 1 ] || fail "no display: exit status $rc, expected 1"
[ "$(wc -l <"$work/err")" -eq 1 ] || { cat "$work/err"; fail "no display: expected exactly one line"; }
grep -q 'no display' "$work/err" || fail "no display: message was: $(cat "$work/err")"

# 2. A display that cannot be opened: also one line and status 1.
env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=:987 "$work/kinemo" >"$work/out" 2>"$work/err"
rc=$?
[ "$rc" -eq 1 ] || { cat "$work/err"; fail "bad display: exit status $rc, expected 1"; }
[ "$(wc -l <"$work/err")" -eq 1 ] || { cat "$work/err"; fail "bad display: expected exactly one line"; }
grep -q 'cannot open the display' "$work/err" || fail "bad display: message was: $(cat "$work/err")"
[ ! -e "$work/default.cfg" ] || fail "a failed start must not write settings"

# 3. A normal run: the window appears with its title, the program ends on
#    SIGTERM through its normal exit and writes default.cfg. It runs on a
#    display of its own, so windows of tests running alongside cannot be
#    mistaken for ours.
command -v xvfb-run >/dev/null || { echo "SKIP: no xvfb-run for the window part"; exit 0; }
cat >"$work/window_part.sh" <<'PART'
set -u
work="$1"
fail() { echo "FAIL: $*"; exit 1; }
"$work/kinemo" >"$work/out" 2>"$work/err" &
pid=$!
seen=0
for _ in $(seq 1 150); do
  if xwininfo -root -tree 2>/dev/null | grep -q '"Kinemo - unnamed.rig"'; then seen=1; break; fi
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.2
done
[ "$seen" -eq 1 ] || { kill "$pid" 2>/dev/null; cat "$work/err"; fail "window titled \"Kinemo - unnamed.rig\" not seen"; }
kill -TERM "$pid"
wait "$pid"
rc=$?
[ "$rc" -eq 0 ] || { cat "$work/err"; fail "exit status $rc after SIGTERM, expected 0"; }
[ -f "$work/default.cfg" ] || fail "default.cfg not written at exit"
keys=$(sed -n '/^\[default\]/,/^\[/p' "$work/default.cfg" | grep -c '=')
[ "$keys" -eq 21 ] || { cat "$work/default.cfg"; fail "default.cfg has $keys keys, expected 21"; }

# 4. Start-up order: the start-up script, the plug-ins, then the scene named
#    on the command line, with the window up. A scene that cannot be opened
#    leaves the editor running with the scene empty.
mkdir -p "$work/system" "$work/plugins"
echo 'print("startup ran")' >"$work/system/startup.lua"
echo 'print("plugin ran")' >"$work/plugins/p.lua"
printf 'CheckFileVersion(5)\nprint("scene ran")\n' >"$work/scene.rig"
mkdir -p "$work/folder.rig"
for scene in "$work/scene.rig" "$work/missing.rig" "$work/folder.rig"; do
  rm -f "$work/console.log"
  "$work/kinemo" "$scene" >"$work/out" 2>"$work/err" &
  pid=$!
  for _ in $(seq 1 150); do
    grep -q "plugin ran" "$work/console.log" 2>/dev/null && break
    kill -0 "$pid" 2>/dev/null || break
    sleep 0.2
  done
  sleep 1
  kill -0 "$pid" 2>/dev/null || { cat "$work/err"; fail "the editor ended on $scene"; }
  kill -TERM "$pid"
  wait "$pid"
  order=$(grep -E "ran|Loading Plugins" "$work/console.log" | tr '\n' '|')
  case "$scene" in
    *scene.rig) expected="startup ran|Loading Plugins:|plugin ran|scene ran|" ;;
    *) expected="startup ran|Loading Plugins:|plugin ran|" ;;
  esac
  [ "$order" = "$expected" ] || { cat "$work/console.log"; fail "start-up order with $scene: $order"; }
done
exit 0
PART
xvfb-run -a -s "-screen 0 1280x1024x24 -noreset" sh "$work/window_part.sh" "$work" || exit 1
echo "PASS"
