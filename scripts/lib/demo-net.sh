# Sourced by scripts/run and scripts/demo: a throwaway pair of network namespaces, so the program
# can switch addresses for real without touching the host's network.
#   $DEMO_NS   the program's namespace, holding the two demo Ethernet links demo0 and demo1
#   $PEER_NS   the far ends of the links, with the routers' addresses
# A program started with in_demo_net sees /etc/netns/$DEMO_NS/resolv.conf as its /etc/resolv.conf (ip
# netns exec bind-mounts it there), as a container sees its own.
DEMO_NS="ostrelle-demo-$$"
PEER_NS="ostrelle-peer-$$"

demo_net_up() {
    ip netns add "$DEMO_NS"
    ip netns add "$PEER_NS"
    ip -n "$DEMO_NS" link set lo up
    ip -n "$PEER_NS" link set lo up
    local i
    for i in 0 1; do
        ip link add "demo$i" netns "$DEMO_NS" type veth peer name "peer$i" netns "$PEER_NS"
        ip -n "$DEMO_NS" link set "demo$i" up
        ip -n "$PEER_NS" link set "peer$i" up
    done
    ip -n "$DEMO_NS" addr add 192.0.2.10/24 dev demo0
    ip -n "$DEMO_NS" addr add 198.51.100.10/24 dev demo1
    ip -n "$PEER_NS" addr add 192.0.2.1/24 dev peer0
    ip -n "$PEER_NS" addr add 198.51.100.1/24 dev peer1
    ip -n "$DEMO_NS" route add default via 192.0.2.1 dev demo0
    # The program's own state for this run: its hive and autostart folder, away from the host's.
    DEMO_STATE=$(mktemp -d /tmp/ostrelle-demo.XXXXXX)
    mkdir -p "$DEMO_STATE/autostart" "/etc/netns/$DEMO_NS"
    printf "# the demo namespace's resolver\nsearch demo.example\nnameserver 192.0.2.53\nnameserver 192.0.2.54\n" \
        >"/etc/netns/$DEMO_NS/resolv.conf"
    export OSTRELLE_HIVE_PATH="$DEMO_STATE/hive.sqlite"
    export OSTRELLE_AUTOSTART_DIR="$DEMO_STATE/autostart"
    unset OSTRELLE_RESOLV_CONF
}

demo_net_down() {
    ip netns del "$DEMO_NS" 2>/dev/null || true
    ip netns del "$PEER_NS" 2>/dev/null || true
    rm -rf "/etc/netns/$DEMO_NS"
    rmdir /etc/netns 2>/dev/null || true
    [ -n "${DEMO_STATE:-}" ] && rm -rf "$DEMO_STATE"
}

demo_net_show() {
    echo "--- ip -4 addr (demo namespace)"
    ip -n "$DEMO_NS" -4 addr show 2>/dev/null
    echo "--- ip route (demo namespace)"
    ip -n "$DEMO_NS" route show
    echo "--- /etc/resolv.conf (demo namespace)"
    in_demo_net cat /etc/resolv.conf
}

# Runs a command inside the demo namespace.
in_demo_net() {
    ip netns exec "$DEMO_NS" "$@"
}
