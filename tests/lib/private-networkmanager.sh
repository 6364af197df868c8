# shellcheck shell=bash
# Sourced by the root tests: a NetworkManager of their own, serving one network namespace and
# reachable only on a private system bus, so a switch through it never reaches the host's daemons.
#
#   private_nm_up NETNS_PATH STATE_DIR UNMANAGED   start the bus and the daemon; UNMANAGED is a
#                                                  comma-separated list of interfaces it leaves
#                                                  alone; prints and exports
#                                                  DBUS_SYSTEM_BUS_ADDRESS=unix:path=STATE_DIR/bus
#   private_nm_restart STATE_DIR                   stop the daemon and start it again on the bus
#   private_nm_down STATE_DIR                      stop both and remove what up made
#   private_nm_hold NETNS_PATH STATE_DIR UNMANAGED up, then read commands from standard input
#                                                  ("restart"), down once it closes
#   private_nm_cli STATE_DIR ARGS...               nmcli on the private bus
#
# The daemon runs in a mount namespace of its own: sysfs mounted read-only for the namespace (with
# a writable one it waits for udev forever), a tmpfs over /run, STATE_DIR/lib over
# /var/lib/NetworkManager, and its keyfile connections in STATE_DIR/connections. Without polkit
# it lets root do everything and nobody else. up and down return 2 when a precondition is missing
# and 1 when something failed. Daemons come from build/test-daemons or $OSTRELLE_TEST_DAEMONS.

# shellcheck source-path=SCRIPTDIR source=private-resolved.sh
source "$(dirname "${BASH_SOURCE[0]}")/private-resolved.sh"

_private_nm_libdir() {
    local cache
    cache=$(_private_resolved_cache)
    dirname "$(find "$cache/root/usr/lib" -name 'libnm.so.0' | head -n 1)"
}

_private_nm_preconditions() {
    local netns=$1 cache tool
    cache=$(_private_resolved_cache)
    [ "$(id -u)" -eq 0 ] || _private_resolved_fail 2 "needs root" || return
    for tool in dbus-daemon busctl nsenter unshare mount ip; do
        command -v "$tool" >/dev/null || _private_resolved_fail 2 "$tool is not installed" || return
    done
    [ -x "$cache/root/usr/sbin/NetworkManager" ] ||
        _private_resolved_fail 2 "NetworkManager is not unpacked in $cache:" \
            "run scripts/lib/fetch-test-daemons.sh" || return
    [ -e "$netns" ] || _private_resolved_fail 2 "no network namespace at $netns" || return
    nsenter --net="$netns" true 2>/dev/null ||
        _private_resolved_fail 2 "cannot enter the network namespace $netns" || return
}

_private_nm_config() {
    local state=$1 cache=$2 unmanaged=$3 devices=""
    local name
    for name in ${unmanaged//,/ }; do
        devices+="${devices:+;}interface-name:$name"
    done
    mkdir -p "$state/connections" "$state/lib"
    cat >"$state/NetworkManager.conf" <<CONF
[main]
plugins=keyfile
rc-manager=unmanaged
dns=none
hostname-mode=none
auth-polkit=false
systemd-resolved=false

[keyfile]
path=$state/connections
unmanaged-devices=${devices:-none}

[logging]
level=${PRIVATE_NM_LOG_LEVEL:-INFO}
CONF
    # The bus of the resolver's tests, with NetworkManager's policy in place of the resolver's.
    _private_resolved_config "$state" "$cache"
    sed -i "s|org.freedesktop.resolve1.conf|org.freedesktop.NetworkManager.conf|" "$state/bus.conf"
    rm -f "$state/resolved.conf" "$state/resolv.conf"
}

# shellcheck disable=SC2016 # expanded by the shell that runs it
_private_nm_mounts='
set -e
state=$1
mount -n -t sysfs -o ro private-nm /sys
mount -n -t tmpfs -o mode=0755,size=4m private-nm /run
mount -n --bind "$state/lib" /var/lib/NetworkManager 2>/dev/null ||
    { mkdir -p /var/lib/NetworkManager && mount -n --bind "$state/lib" /var/lib/NetworkManager; }
exec dbus-daemon --config-file="$state/bus.conf" --nofork --nopidfile
'

_private_nm_owned_by() {
    [ "$(busctl --address="$1" call org.freedesktop.DBus /org/freedesktop/DBus org.freedesktop.DBus \
        GetConnectionUnixProcessID s org.freedesktop.NetworkManager 2>/dev/null)" = "u $2" ]
}

_private_nm_start() {
    local state=$1 cache address nm_pid
    cache=$(_private_resolved_cache)
    address="unix:path=$state/bus"
    nsenter --net="$(cat "$state/netns")" --mount="/proc/$(cat "$state/dbus.pid")/ns/mnt" -- \
        env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin LD_LIBRARY_PATH="$(_private_nm_libdir)" \
        DBUS_SYSTEM_BUS_ADDRESS="$address" "$cache/root/usr/sbin/NetworkManager" --no-daemon \
        --config="$state/NetworkManager.conf" --config-dir="$state/none" \
        </dev/null >>"$state/nm.log" 2>&1 &
    nm_pid=$!
    echo "$nm_pid" >"$state/nm.pid"
    _private_resolved_wait "$nm_pid" _private_nm_owned_by "$address" "$nm_pid" ||
        _private_resolved_fail 1 "org.freedesktop.NetworkManager is not owned by NetworkManager" \
            "($nm_pid) on $address: $(tail -n 20 "$state/nm.log")"
}

private_nm_up() {
    [ $# -eq 3 ] || _private_resolved_fail 1 "usage: private_nm_up NETNS_PATH STATE_DIR UNMANAGED" || return
    local netns=$1 state cache dbus_pid
    _private_nm_preconditions "$netns" || return
    cache=$(_private_resolved_cache)
    state=$(realpath -m "$2")
    [ ${#state} -le 100 ] || _private_resolved_fail 1 "$state is too long for a socket path" || return
    [ ! -e "$state/dbus.pid" ] || _private_resolved_fail 1 "already up in $state" || return
    if [ ! -d "$state" ]; then
        mkdir -p "$state" && touch "$state/made"
    fi
    echo "$netns" >"$state/netns"
    _private_nm_config "$state" "$cache" "$3"

    nsenter --net="$netns" -- unshare --mount --propagation private -- \
        bash -c "$_private_nm_mounts" private-nm "$state" </dev/null >"$state/dbus.log" 2>&1 &
    dbus_pid=$!
    echo "$dbus_pid" >"$state/dbus.pid"
    if ! _private_resolved_wait "$dbus_pid" test -S "$state/bus"; then
        _private_resolved_fail 1 "the bus did not start: $(cat "$state/dbus.log")"
        private_nm_down "$state"
        return 1
    fi
    if ! _private_nm_start "$state"; then
        private_nm_down "$state"
        return 1
    fi
    export DBUS_SYSTEM_BUS_ADDRESS=unix:path=$state/bus
    echo "DBUS_SYSTEM_BUS_ADDRESS=$DBUS_SYSTEM_BUS_ADDRESS"
}

private_nm_restart() {
    local state=$1
    _private_resolved_stop "$(cat "$state/nm.pid")"
    _private_nm_start "$state"
}

private_nm_down() {
    [ $# -eq 1 ] || _private_resolved_fail 1 "usage: private_nm_down STATE_DIR" || return
    local state=$1 name
    for name in nm dbus; do
        [ -f "$state/$name.pid" ] && _private_resolved_stop "$(cat "$state/$name.pid")"
    done
    rm -rf "${state:?}"/{bus,bus.conf,passwd,group,NetworkManager.conf,netns,connections,lib} \
        "$state"/{dbus,nm}.{pid,log}
    if [ -f "$state/made" ]; then
        rm -f "$state/made"
        rmdir "$state"
    fi
    return 0
}

private_nm_hold() {
    private_nm_up "$@" || return
    local command
    while read -r command; do
        case $command in
            restart) private_nm_restart "$2" && echo "restarted" || echo "restart failed" ;;
        esac
    done
    private_nm_down "$2"
}

private_nm_cli() {
    local state=$1
    shift
    DBUS_SYSTEM_BUS_ADDRESS="unix:path=$(cd "$state" && pwd)/bus" LD_LIBRARY_PATH="$(_private_nm_libdir)" \
        "$(_private_resolved_cache)/root/usr/bin/nmcli" "$@"
}
