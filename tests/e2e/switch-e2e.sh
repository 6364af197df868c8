#!/usr/bin/env bash
# The real program in a network namespace with two veth links: select the second of two profiles,
# press the switch button, answer the message, close. The link the adapter box had selected must
# carry the profile's address and default route, the namespace's resolver its DNS servers, and the
# profile file must be saved at the close (the driver checks that it was not touched before).
set -euo pipefail
driver=$1
if [ "$(id -u)" -ne 0 ] || ! command -v ip >/dev/null; then
    echo "SKIP: needs root and iproute2 to build a network namespace"
    exit 77
fi
source "$(dirname "$0")/../../scripts/lib/demo-net.sh"
trap demo_net_down EXIT
demo_net_up || { echo "SKIP: network namespaces are refused here"; exit 77; }

profiles="${driver%????}"
# Virtual links have no model name or driver directory in sysfs: discovery describes them by their
# interface names, so selecting the second profile moves the adapter box to demo1.
printf '%s\r\n' "first|0|demo0|192.0.2.66|255.255.255.0|192.0.2.1|192.0.2.53|" \
    "second|2|demo1|198.51.100.77|255.255.255.128|198.51.100.1|198.51.100.53|198.51.100.54" > "$profiles"
inode_before=$(stat -c %i "$profiles")
expected=$(cat "$profiles")

in_demo_net env QT_QPA_PLATFORM=offscreen "$driver" switch 1
demo_net_show

# Each listing is taken whole before it is searched: grep -q leaves at its first match, and with
# pipefail the SIGPIPE that ip then gets for its next line would fail the check.
demo1_addresses=$(ip -n "$DEMO_NS" -4 addr show dev demo1)
default_routes=$(ip -n "$DEMO_NS" route show default)
demo0_addresses=$(ip -n "$DEMO_NS" -4 addr show dev demo0)
grep -q "inet 198.51.100.77/25 " <<<"$demo1_addresses" || { echo "FAIL: demo1 lacks 198.51.100.77/25"; exit 1; }
grep -q "via 198.51.100.1 dev demo1" <<<"$default_routes" || { echo "FAIL: no default via 198.51.100.1"; exit 1; }
grep -q "inet 192.0.2.10/24 " <<<"$demo0_addresses" || { echo "FAIL: demo0 changed"; exit 1; }
resolver=$(in_demo_net cat /etc/resolv.conf)
expected_resolver=$(printf "# the demo namespace's resolver\nsearch demo.example\nnameserver 198.51.100.53\nnameserver 198.51.100.54")
[ "$resolver" = "$expected_resolver" ] || { echo "FAIL: the resolver is not the profile's: $resolver"; exit 1; }
[ "$(stat -c %i "$profiles")" != "$inode_before" ] || { echo "FAIL: the profile file was not saved at close"; exit 1; }
[ "$(cat "$profiles")" = "$expected" ] || { echo "FAIL: the saved profiles differ"; exit 1; }
rm -f "$profiles"
echo "PASS: demo1 switched to 198.51.100.77/25 via 198.51.100.1, DNS 198.51.100.53 and .54; profiles saved at close"
