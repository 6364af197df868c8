#!/usr/bin/env bash
# The real program on a real X server with a window manager, driven only by real X input (xdotool moves
# the pointer, clicks and types) in a network namespace with two veth links. As a user would, it picks
# demo1 in the adapter box, types a profile's name and addresses, turns on start at logon, adds the
# profile, selects it, switches, answers the success message, turns on quitting after a switch and
# switches again, whereupon the program saves and leaves by itself. The kernel, the namespace's
# resolver, the autostart entry, the profile file and the marker must then show all of it.
#   real-input-e2e.sh PROGRAM LAYOUT_TOOL SHOT_TOOL
# OSTRELLE_SHOTS names a folder for a picture of the screen after each step. scripts/demo runs this.
set -euo pipefail
program_built=$1
layout_tool=$2
shot_tool=$3
for tool in ip Xvfb openbox xdotool xprop; do
    command -v "$tool" >/dev/null || { echo "SKIP: $tool is not installed"; exit 77; }
done
[ "$(id -u)" -eq 0 ] || { echo "SKIP: needs root to build a network namespace"; exit 77; }
source "$(dirname "$0")/../../scripts/lib/demo-net.sh"
source "$(dirname "$0")/x-session.sh"

fail() {
    echo "FAIL: $*"
    exit 1
}
step() {
    echo "--- $1"
    x_shot "$2"
}

work=$(mktemp -d /tmp/ostrelle-x11.XXXXXX)
cleanup() {
    [ -n "${program_pid:-}" ] && kill "$program_pid" 2>/dev/null
    x_session_down
    demo_net_down
    rm -rf "$work"
}
trap cleanup EXIT
demo_net_up || { echo "SKIP: network namespaces are refused here"; exit 77; }
x_session_up || fail "no X server with a window manager"

# The program's folder as it ships: the executable and its library, with a profile file beside them.
cp "$program_built" "$(dirname "$program_built")/libdhcpcsvc.so" "$work/"
program="$work/$(basename "$program_built")"
profiles="${program%????}"
marker="${program%?????????}"
printf '%s\r\n' "first|0|demo0|192.0.2.66|255.255.255.0|192.0.2.1|192.0.2.53|" >"$profiles"
"$layout_tool" >"$work/layout"

echo "=== before"
demo_net_show
(cd "$work" && exec ip netns exec "$DEMO_NS" "$program") &
program_pid=$!
x_find_window '^Ostrelle v3\.2$' || fail "the main window did not appear"
MAIN_WINDOW=$X_WINDOW
step "the program starts" start

x_click_control 1000
xdotool key --delay 150 Down Return
step "a click opens the adapter box; demo1 is chosen" adapter
x_click_control 1011
xdotool key ctrl+a
xdotool type --delay 30 "real-x"
x_type_address 1004 198.51.100.77
x_type_address 1005 255.255.255.128
x_type_address 1006 198.51.100.1
x_type_address 1007 198.51.100.53
x_type_address 1008 198.51.100.54
step "the name and the five addresses are typed" typed
x_click_control 1041
x_click_control 1014
step "start at logon is checked, the profile added" added
x_click_list_row 1010 1
x_click_control 1
x_find_window '^提示$' || fail "no message after the switch"
step "the new profile is selected and switched" switched
xdotool key Return
x_click_control 1042
step "quitting after a switch is checked" auto-exit
x_click_control 1
for _ in $(seq 100); do
    kill -0 "$program_pid" 2>/dev/null || break
    sleep 0.1
done
if kill -0 "$program_pid" 2>/dev/null; then
    x_shot still-open
    fail "the program did not quit after the second switch"
fi
program_pid=

echo "=== after"
demo_net_show
addresses=$(ip -n "$DEMO_NS" -4 addr show dev demo1)
routes=$(ip -n "$DEMO_NS" route show default)
resolver=$(in_demo_net cat /etc/resolv.conf)
grep -q "inet 198.51.100.77/25 " <<<"$addresses" || fail "demo1 lacks 198.51.100.77/25"
grep -q "via 198.51.100.1 dev demo1" <<<"$routes" || fail "no default route via 198.51.100.1"
[ "$(grep nameserver <<<"$resolver")" = "$(printf 'nameserver 198.51.100.53\nnameserver 198.51.100.54')" ] ||
    fail "the resolver is not the profile's: $resolver"
grep -q "^real-x|[0-9]|demo1|198.51.100.77|255.255.255.128|198.51.100.1|198.51.100.53|198.51.100.54"$'\r'"$" \
    "$profiles" || fail "the profile file lacks the new profile: $(cat -A "$profiles")"
[ -e "$marker" ] || fail "no marker file: quitting after a switch was not saved"
ls "$OSTRELLE_AUTOSTART_DIR"/*.desktop >/dev/null 2>&1 || fail "start at logon made no autostart entry"
echo "PASS: typed, toggled, chose, added, selected and switched by real X input; demo1's address and" \
    "route, the resolver, the profile file, the marker and the autostart entry all took effect"
