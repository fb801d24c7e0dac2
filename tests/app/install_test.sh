#!/bin/sh
# Installs the built program into a scratch prefix and runs it from there.
set -u
build="$1"
prefix=$(mktemp -d)
trap 'rm -rf "$prefix"' EXIT
fail() { echo "FAIL: $*"; exit 1; }
cmake --install "$build" --prefix "$prefix" >/dev/null || fail "cmake --install failed"
for f in bin/kinemo bin/rigmend lib/kinemo/system/startup.lua lib/kinemo/examples/tube.rig \
         lib/kinemo/doc/index.html lib/kinemo/doc/images/editor.png \
         share/applications/kinemo.desktop share/mime/packages/kinemo-scene.xml; do
  [ -e "$prefix/$f" ] || fail "$f not installed"
done
grep -q "^Exec=$prefix/bin/kinemo %f$" "$prefix/share/applications/kinemo.desktop" ||
  fail "the desktop entry does not start the installed program"
grep -q 'glob pattern="\*.kmo"' "$prefix/share/mime/packages/kinemo-scene.xml" || fail "no .kmo glob"
# Through the link in bin, the program finds its data in lib/kinemo.
cat >"$prefix/convert.lua" <<'LUA'
LoadScene(arg[1])
save(arg[2])
LUA
(cd "$prefix" && "$prefix/bin/kinemo" --batch convert.lua \
  "$prefix/lib/kinemo/examples/tube.rig" "$prefix/copy.rig") || fail "the installed program failed"
grep -q "CheckFileVersion(5)" "$prefix/copy.rig" || fail "no scene written"
echo PASS
