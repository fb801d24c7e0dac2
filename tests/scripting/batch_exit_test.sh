#!/bin/sh
# kinemo --batch: exit status, where output and errors go, and arguments.
set -u
kinemo="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() { echo "FAIL: $*"; exit 1; }

printf 'print("out", arg[1], arg[2])\n' > "$work/ok.lua"
"$kinemo" --batch "$work/ok.lua" one two >"$work/out" 2>"$work/err"
rc=$?
[ "$rc" -eq 0 ] || fail "a clean script exits $rc"
[ "$(cat "$work/out")" = "out" ] || [ "$(head -1 "$work/out")" = "out" ] || fail "stdout: $(cat "$work/out")"
grep -q 'one' "$work/out" && grep -q 'two' "$work/out" || fail "arguments missing: $(cat "$work/out")"

printf 'print("before")\nerror("broken on purpose")\n' > "$work/bad.lua"
"$kinemo" --batch "$work/bad.lua" >"$work/out" 2>"$work/err"
rc=$?
[ "$rc" -eq 1 ] || fail "a failing script exits $rc, expected 1"
grep -q 'before' "$work/out" || fail "output before the error is lost"
grep -q 'broken on purpose' "$work/err" || fail "the error is not on standard error: $(cat "$work/err")"
grep -q 'broken on purpose' "$work/out" && fail "the error went to standard output"

# A command that fails is reported on standard error; whether the run
# fails is the script's own choice (it may go on, raise or call os.exit).
printf '\001\002\003 binary \377' > "$work/notlua.rig"
printf 'local ok = LoadScene(%s)\nprint(GetScene():GetFirstNode())\nif not ok then os.exit(3) end\n' "\"$work/notlua.rig\"" > "$work/load.lua"
"$kinemo" --batch "$work/load.lua" >"$work/out" 2>"$work/err"
rc=$?
[ "$rc" -eq 3 ] || fail "a script that calls os.exit(3) after a failed load exits $rc"
grep -q 'Could not open' "$work/err" || fail "no clear message: $(cat "$work/err")"
grep -q '^nil$' "$work/out" || fail "the scene changed: $(cat "$work/out")"

printf 'print(ImportFile("%s"))\nprint(pcall(error, "handled"))\n' "$work/missing.obj" > "$work/handled.lua"
"$kinemo" --batch "$work/handled.lua" >"$work/out" 2>"$work/err"
rc=$?
[ "$rc" -eq 0 ] || fail "a script that handled every error exits $rc, expected 0"

# os.exit ends the run at once with its status, through pcall and nested
# calls; its status must be a byte.
for case in "os.exit()|0" "os.exit(0)|0" "os.exit(7)|7" "pcall(os.exit, 5)|5" \
            "exit(4)|4" "local function f() os.exit(9) end f()|9" "os.exit(300)|1" "os.exit(1.5)|1"; do
    chunk=${case%|*}
    want=${case##*|}
    printf '%s\nprint("after")\n' "$chunk" > "$work/exit.lua"
    "$kinemo" --batch "$work/exit.lua" >"$work/out" 2>"$work/err"
    rc=$?
    [ "$rc" -eq "$want" ] || fail "$chunk exits $rc, expected $want"
    if [ "$want" -ne 1 ]; then
        grep -q after "$work/out" && fail "$chunk: the script went on after os.exit"
        [ -s "$work/err" ] && fail "$chunk: os.exit is reported as an error: $(cat "$work/err")"
    else
        grep -q 'exit status must be a whole number from 0 to 255' "$work/err" ||
            fail "$chunk: no message for a bad status: $(cat "$work/err")"
    fi
done

# Ctrl+C stops a running script, even one that catches errors, and ends the run.
printf 'print("looping")\nwhile true do pcall(function() while true do end end) end\n' > "$work/loop.lua"
"$kinemo" --batch "$work/loop.lua" >"$work/out" 2>"$work/err" &
pid=$!
tries=0
until grep -q looping "$work/out" || [ $tries -ge 300 ]; do sleep 0.1; tries=$((tries + 1)); done
kill -INT $pid
wait $pid
rc=$?
[ "$rc" -eq 1 ] || fail "Ctrl+C in a batch run exits $rc, expected 1"
grep -q 'the script was stopped' "$work/err" || fail "no message for Ctrl+C: $(cat "$work/err")"

"$kinemo" --batch "$work/missing.lua" >"$work/out" 2>"$work/err"
[ $? -eq 1 ] || fail "a missing script must exit 1"
grep -q 'cannot open' "$work/err" || fail "missing script message: $(cat "$work/err")"

"$kinemo" --batch >/dev/null 2>"$work/err"
[ $? -eq 2 ] || fail "no file given must be a usage error"
echo PASS
