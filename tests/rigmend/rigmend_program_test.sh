#!/bin/sh
# Runs the rigmend program: the command line in a scratch folder, a start
# without a display, and the window under the test display.
set -u
rigmend="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
cd "$work" || exit 1

# A small export: one bone with id 4, keys at frames 1..4, its mesh beside it.
write_export() {
  mkdir -p "$work/exports"
  {
    echo "<skeleton>"
    echo "  <bones>"
    echo "    <bone id='4' name='Root'>"
    echo "    </bone>"
    echo "  </bones>"
    echo "  <animations>"
    echo "    <animation name='Exported' length='1.0'>"
    echo "      <tracks>"
    echo "        <track bone='Root'>"
    echo "          <keyframes>"
    for f in 1 2 3 4; do
      echo "            <keyframe time='$f'>"
      echo "              <translate x='$f'/>"
      echo "              <rotate angle='0'>"
      echo "                <axis x='1'/>"
      echo "              </rotate>"
      echo "            </keyframe>"
    done
    echo "          </keyframes>"
    echo "        </track>"
    echo "      </tracks>"
    echo "    </animation>"
    echo "  </animations>"
    echo "</skeleton>"
  } >"$work/exports/hero.skeleton.xml"
  {
    echo "<mesh>"
    echo "      <boneassignments>"
    echo "        <vertexboneassignment vertexindex='0' boneindex='4' weight='1.0' />"
    echo "      </boneassignments>"
    echo "    </submesh>"
    echo "  </submeshes>"
    echo "  <skeletonlink name='/home/me/exports/hero.skeleton.xml' />"
    echo "</mesh>"
  } >"$work/exports/hero.mesh.xml"
}

# expect STATUS PATTERN ARGS...: exit status STATUS and PATTERN (grep -F) on
# standard error. Runs without any display: the command line never needs one.
expect() {
  want="$1" pattern="$2"
  shift 2
  env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$rigmend" "$@" >"$work/out" 2>"$work/err"
  rc=$?
  [ "$rc" -eq "$want" ] || { cat "$work/err"; fail "rigmend $*: exit status $rc, expected $want"; }
  grep -qF -- "$pattern" "$work/err" || fail "rigmend $*: stderr was: $(cat "$work/err")"
}

write_export
cp "$work/exports/hero.skeleton.xml" "$work/skeleton.orig"
cp "$work/exports/hero.mesh.xml" "$work/mesh.orig"
unchanged() {
  cmp -s "$work/skeleton.orig" "$work/exports/hero.skeleton.xml" &&
    cmp -s "$work/mesh.orig" "$work/exports/hero.mesh.xml"
}

# Help and usage errors.
env -u DISPLAY "$rigmend" --help >"$work/out" 2>"$work/err" || fail "--help: exit status $?"
grep -q -- '--clip NAME,FROM,TO' "$work/out" || fail "--help: no usage in: $(cat "$work/out")"
expect 2 "unknown option '--frames'" --frames 1 exports/hero.skeleton.xml
expect 2 "no skeleton file given" --clip Walk,1,2
expect 2 "--clip needs a value" exports/hero.skeleton.xml --clip
expect 2 "only one skeleton file" --clip Walk,1,2 a.skeleton.xml b.skeleton.xml

# The messages, each with its own status; nothing is written.
expect 3 "Error! Only drag and drop '*.skeleton.xml' files" --clip Walk,1,2 exports/hero.mesh.xml
expect 4 "Error! The '*.mesh.xml' need to be in the same directory" --clip Walk,1,2 \
  exports/other.skeleton.xml
expect 5 "Error! Before dropping a skeleton file" exports/hero.skeleton.xml
unchanged || fail "a refused run changed the files"

# A damaged skeleton stops the run and leaves everything as it was.
head -n 12 "$work/skeleton.orig" >"$work/exports/hero.skeleton.xml"
cp "$work/exports/hero.skeleton.xml" "$work/skeleton.cut"
expect 1 "ends early" --clip Walk,1,2 exports/hero.skeleton.xml
cmp -s "$work/skeleton.cut" "$work/exports/hero.skeleton.xml" || fail "damaged skeleton was changed"
cmp -s "$work/mesh.orig" "$work/exports/hero.mesh.xml" || fail "mesh changed after a failed run"
[ ! -e "$work/Rigmend Temp" ] || fail "\"Rigmend Temp\" left behind after a failed run"
cp "$work/skeleton.orig" "$work/exports/hero.skeleton.xml"

# A real run, with both spellings of --clip.
expect 0 "Done! Your files have been fixed!" --clip Walk,1,2 --clip=Pose,4,4 \
  exports/hero.skeleton.xml
[ ! -e "$work/Rigmend Temp" ] || fail "\"Rigmend Temp\" left behind"
grep -q "<animation name='Pose' length='0.0000000000'>" "$work/exports/hero.skeleton.xml" ||
  fail "skeleton not rewritten: $(cat "$work/exports/hero.skeleton.xml")"
grep -q "boneindex='0'" "$work/exports/hero.mesh.xml" || fail "mesh bone index not rewritten"
grep -q "^ <skeletonlink name='hero.skeleton.xml' />" "$work/exports/hero.mesh.xml" ||
  fail "skeleton link not rewritten"

# No arguments and no display: one clear line, status 1, no crash.
env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM "$rigmend" >"$work/out" 2>"$work/err"
rc=$?
[ "$rc" -eq 1 ] || fail "no display: exit status $rc, expected 1"
[ "$(wc -l <"$work/err")" -eq 1 ] || { cat "$work/err"; fail "no display: expected one line"; }
grep -q 'no display' "$work/err" || fail "no display: message was: $(cat "$work/err")"

# A display that cannot be opened: also one line and status 1.
env -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM DISPLAY=:987 "$rigmend" >"$work/out" 2>"$work/err"
rc=$?
[ "$rc" -eq 1 ] || { cat "$work/err"; fail "bad display: exit status $rc, expected 1"; }
[ "$(wc -l <"$work/err")" -eq 1 ] || { cat "$work/err"; fail "bad display: expected one line"; }
grep -q 'cannot open the display' "$work/err" || fail "bad display: message was: $(cat "$work/err")"

# The window appears under the test display with its title.
[ -n "${DISPLAY:-}" ] || { echo "SKIP: no display for the window part"; exit 0; }
"$rigmend" >"$work/out" 2>"$work/err" &
pid=$!
seen=0
for _ in $(seq 1 100); do
  if xwininfo -root -tree 2>/dev/null | grep -q '"Rigmend v1.0.1"'; then seen=1; break; fi
  kill -0 "$pid" 2>/dev/null || break
  sleep 0.2
done
kill "$pid" 2>/dev/null
wait "$pid" 2>/dev/null
[ "$seen" -eq 1 ] || { cat "$work/err"; fail "window titled \"Rigmend v1.0.1\" not seen"; }
echo "PASS"
