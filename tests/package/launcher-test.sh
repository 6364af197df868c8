#!/usr/bin/env bash
# The menu's launcher on an X server whose access control is on (Xvfb with a cookie file, no -ac), with
# a stand-in for pkexec first on PATH that runs the program as the caller (root here) from root's home,
# as pkexec would, and a stand-in program that records what it finds while it runs.
#   launcher-test.sh PACKAGING_FOLDER
set -euo pipefail
packaging=$(cd "$1" && pwd)
for tool in Xvfb xauth xhost mcookie; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
[ "$(id -u)" -eq 0 ] || { echo "SKIP: the stand-in program must run as root to test root's access"; exit 77; }

work=$(mktemp -d /tmp/ostrelle-launcher.XXXXXX)
cleanup() {
    [ -n "${server_pid:-}" ] && kill "$server_pid" 2>/dev/null
    [ -n "${waiting_program:-}" ] && kill "$waiting_program" 2>/dev/null
    wait 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT
failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}

# The program's folder as installed, with a stand-in program.
folder="$work/opt/ostrelle"
mkdir -p "$folder" "$work/bin"
cp "$packaging/ostrelle" "$packaging/run-in-folder" "$folder/"
cat >"$folder/tarnquill.bin" <<'PROGRAM'
#!/bin/sh
# Without the cookie, only a grant to root lets this root client in.
echo $$ >"$RECORD/program.pid"
if XAUTHORITY=/nonexistent xhost >/dev/null 2>&1; then echo yes; else echo no; fi >"$RECORD/root-let-in"
pwd >"$RECORD/program.cwd"
echo "$*" >"$RECORD/program.args"
[ -z "${PROGRAM_WAITS:-}" ] || exec sleep 60
exit "${PROGRAM_STATUS:-0}"
PROGRAM
chmod +x "$folder/tarnquill.bin"
cat >"$work/bin/pkexec" <<'PKEXEC'
#!/bin/sh
printf '%s\n' "$@" >"$RECORD/pkexec.args"
[ -z "${PKEXEC_STATUS:-}" ] || exit "$PKEXEC_STATUS"
cd /
exec "$@"
PKEXEC
chmod +x "$work/bin/pkexec"

for n in $(seq 130 160); do
    [ -e "/tmp/.X11-unix/X$n" ] || [ -e "/tmp/.X$n-lock" ] || break
done
display=":$n"
# -noreset: a desktop always has clients, so its server never resets the access list as an idle one
# does when its last client leaves.
xauth -q -f "$work/cookie" add "$display" . "$(mcookie)" 2>/dev/null
Xvfb "$display" -auth "$work/cookie" -nolisten tcp -noreset >/dev/null 2>&1 &
server_pid=$!
export DISPLAY=$display XAUTHORITY=$work/cookie RECORD=$work PATH="$work/bin:$PATH"
for _ in $(seq 100); do
    xhost >/dev/null 2>&1 && break
    sleep 0.1
done
XAUTHORITY=/nonexistent xhost >/dev/null 2>&1 && { echo "FAIL: the X server lets clients in without a cookie"; exit 1; }

root_granted() { xhost | grep -qx "SI:localuser:root"; }
reset_records() { rm -f "$work"/program.* "$work"/root-let-in "$work"/pkexec.args "$work"/launcher.err; }

# name | program's exit status | pkexec's own status | launcher's expected status
while IFS='|' read -r name program_status pkexec_status expected; do
    reset_records
    status=0
    PROGRAM_STATUS=$program_status PKEXEC_STATUS=$pkexec_status "$folder/ostrelle" --first "two words" \
        2>"$work/launcher.err" || status=$?
    [ "$status" = "$expected" ] || fail "$name: the launcher exited $status, not $expected"
    root_granted && fail "$name: root still has access to the display after the run"
    if [ -n "$pkexec_status" ]; then
        [ -s "$work/launcher.err" ] || fail "$name: pkexec's refusal is not reported"
        continue
    fi
    [ "$(cat "$work/root-let-in" 2>/dev/null)" = yes ] || fail "$name: root was not let in while the program ran"
    [ "$(cat "$work/program.cwd" 2>/dev/null)" = "$folder" ] || fail "$name: the program did not run in its folder"
    [ "$(cat "$work/program.args" 2>/dev/null)" = "--first two words" ] || fail "$name: the arguments were lost"
    [ "$(head -n 1 "$work/pkexec.args")" = "$folder/run-in-folder" ] || fail "$name: pkexec was not given the runner"
done <<'CASES'
the program ends well|0||0
the program fails|3||3
the password is refused|0|126|126
CASES

# pkexec accepts only the path its action names, and the menu starts the launcher beside it.
policy_path=$(sed -n 's:.*exec.path">\(.*\)</annotate>.*:\1:p' "$packaging/net.example.ostrelle.policy")
[ "$policy_path" = /opt/ostrelle/run-in-folder ] || fail "the polkit action names $policy_path"
grep -qx "Exec=/opt/ostrelle/ostrelle" "$packaging/ostrelle.desktop" || fail "the menu entry does not start the launcher"
grep -q 'exec.allow_gui">true<' "$packaging/net.example.ostrelle.policy" || fail "the polkit action drops the display"

# Killed while the program runs: the grant goes with the launcher.
reset_records
PROGRAM_WAITS=1 "$folder/ostrelle" >/dev/null 2>&1 &
launcher_pid=$!
for _ in $(seq 100); do
    [ -s "$work/root-let-in" ] && break
    sleep 0.1
done
[ "$(cat "$work/root-let-in" 2>/dev/null)" = yes ] || fail "killed: root was not let in while the program ran"
kill -TERM "$launcher_pid"
status=0
wait "$launcher_pid" || status=$?
[ "$status" -ne 0 ] || fail "killed: the launcher reported success"
root_granted && fail "killed: root still has access to the display after the launcher was killed"
waiting_program=$(cat "$work/program.pid")
kill "$waiting_program"

# A grant the user made before the run is left in place.
reset_records
xhost +SI:localuser:root >/dev/null
"$folder/ostrelle" 2>/dev/null || fail "granted before: the run failed"
root_granted || fail "granted before: the launcher took back the user's own grant"
xhost -SI:localuser:root >/dev/null

# No display, or one that cannot be reached: a message, a failure, and no pkexec prompt.
while IFS='|' read -r name display_value; do
    reset_records
    status=0
    env -u DISPLAY ${display_value:+DISPLAY=$display_value} "$folder/ostrelle" 2>"$work/launcher.err" || status=$?
    [ "$status" -ne 0 ] || fail "$name: the launcher reported success"
    grep -q "display" "$work/launcher.err" || fail "$name: no message says the display is missing"
    [ -e "$work/pkexec.args" ] && fail "$name: pkexec was asked anyway"
done <<'CASES'
no display|
a display nobody serves|:199
CASES

[ "$failures" -eq 0 ] || exit 1
echo "PASS: root is let in for the run only, the program runs in its folder, a missing display is reported"
