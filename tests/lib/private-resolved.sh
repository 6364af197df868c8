# Sourced by the root tests: a systemd-resolved of their own, serving one network namespace and
# reachable only on a private system bus, so a test can check what the program told the resolver
# without ever reaching the host's daemons.
#
#   private_resolved_up NETNS_PATH STATE_DIR    start both daemons; prints and exports
#                                               DBUS_SYSTEM_BUS_ADDRESS=unix:path=STATE_DIR/bus
#   private_resolved_down STATE_DIR             stop them and remove what up made
#   private_resolved_hold NETNS_PATH STATE_DIR  up, then down once standard input closes
#   private_resolved_busctl STATE_DIR ARGS...   busctl on the private bus
#   private_resolved_link_dns STATE_DIR LINK    the link's DNS servers (name or index), one a line;
#                                               IPv6 ones as eight groups, unabbreviated
#
# NETNS_PATH names the namespace as a file (/proc/PID/ns/net, /run/netns/NAME), so an anonymous
# namespace made with unshare() serves as well as a named one. Both daemons run in a mount
# namespace of their own: a tmpfs over /run, the namespace's own passwd and group with the
# daemon's user, and an empty resolv.conf, so nothing of the host's /etc or /run is read or
# written. up and down return 2 when a precondition is missing (not root, the daemon not fetched,
# a tool or the namespace missing) and 1 when something failed.
#
# Daemons come from build/test-daemons (scripts/lib/fetch-test-daemons.sh), or from
# $OSTRELLE_TEST_DAEMONS.

_private_resolved_checkout=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)

_private_resolved_fail() {
    echo "private-resolved: ${*:2}" >&2
    return "$1"
}

_private_resolved_cache() {
    echo "${OSTRELLE_TEST_DAEMONS:-$_private_resolved_checkout/build/test-daemons}"
}

_private_resolved_preconditions() {
    local netns=$1 cache tool
    cache=$(_private_resolved_cache)
    [ "$(id -u)" -eq 0 ] || _private_resolved_fail 2 "needs root" || return
    for tool in dbus-daemon busctl nsenter unshare mount ip; do
        command -v "$tool" >/dev/null || _private_resolved_fail 2 "$tool is not installed" || return
    done
    [ -f "$cache/ready" ] && [ -x "$cache/root/lib/systemd/systemd-resolved" ] ||
        _private_resolved_fail 2 "systemd-resolved is not unpacked in $cache:" \
            "run scripts/lib/fetch-test-daemons.sh" || return
    [ -e "$netns" ] || _private_resolved_fail 2 "no network namespace at $netns" || return
    nsenter --net="$netns" true 2>/dev/null ||
        _private_resolved_fail 2 "cannot enter the network namespace $netns" || return
}

# The daemon drops to the user systemd-resolve and the bus grants the name to that user only; a
# host without the user gets one in the copies the mount namespace shows as /etc/passwd and
# /etc/group.
_private_resolved_users() {
    local state=$1 id
    cp /etc/passwd "$state/passwd"
    cp /etc/group "$state/group"
    getent passwd systemd-resolve >/dev/null && return
    for ((id = 990; id > 100; id--)); do
        getent passwd "$id" >/dev/null || getent group "$id" >/dev/null || break
    done
    echo "systemd-resolve:x:$id:$id:systemd Resolver:/run/systemd:/usr/sbin/nologin" >>"$state/passwd"
    echo "systemd-resolve:x:$id:" >>"$state/group"
}

# Empty DNS= and Domains= reset whatever the host's resolved.conf says; without a stub listener,
# LLMNR or mDNS it opens no socket of its own.
_private_resolved_config() {
    local state=$1 cache=$2
    cat >"$state/resolved.conf" <<'CONF'
[Resolve]
DNS=
FallbackDNS=
Domains=
LLMNR=no
MulticastDNS=no
DNSStubListener=no
CONF
    : >"$state/resolv.conf"
    # The system bus's policy, without service directories (nothing is activated), with the
    # daemon's own policy file.
    cat >"$state/bus.conf" <<CONF
<!DOCTYPE busconfig PUBLIC "-//freedesktop//DTD D-Bus Bus Configuration 1.0//EN"
 "http://www.freedesktop.org/standards/dbus/1.0/busconfig.dtd">
<busconfig>
  <type>system</type>
  <auth>EXTERNAL</auth>
  <listen>unix:path=$state/bus</listen>
  <policy context="default">
    <allow user="*"/>
    <deny own="*"/>
    <deny send_type="method_call"/>
    <allow send_type="signal"/>
    <allow send_requested_reply="true" send_type="method_return"/>
    <allow send_requested_reply="true" send_type="error"/>
    <allow receive_type="method_call"/>
    <allow receive_type="method_return"/>
    <allow receive_type="error"/>
    <allow receive_type="signal"/>
    <allow send_destination="org.freedesktop.DBus" send_interface="org.freedesktop.DBus"/>
    <allow send_destination="org.freedesktop.DBus" send_interface="org.freedesktop.DBus.Introspectable"/>
    <allow send_destination="org.freedesktop.DBus" send_interface="org.freedesktop.DBus.Properties"/>
    <deny send_destination="org.freedesktop.DBus" send_interface="org.freedesktop.DBus"
          send_member="UpdateActivationEnvironment"/>
  </policy>
  <include>$cache/root/usr/share/dbus-1/system.d/org.freedesktop.resolve1.conf</include>
</busconfig>
CONF
}

# Runs in the new mount namespace, and becomes the bus daemon. bind mounts follow a symlink, so a
# resolv.conf that links into /run (now empty) is left as it is: it reads as no servers either.
# shellcheck disable=SC2016 # expanded by the shell that runs it
_private_resolved_mounts='
set -e
state=$1
mount -n -t tmpfs -o mode=0755,size=1m private-resolved /run
mount -n --bind "$state/passwd" /etc/passwd
mount -n --bind "$state/group" /etc/group
[ -L /etc/resolv.conf ] || mount -n --bind "$state/resolv.conf" /etc/resolv.conf
mkdir -p /run/systemd/resolve /run/systemd/resolved.conf.d /run/systemd/netif/links
chown systemd-resolve:systemd-resolve /run/systemd/resolve
cp "$state/resolved.conf" /run/systemd/resolved.conf.d/zz-private.conf
exec dbus-daemon --config-file="$state/bus.conf" --nofork --nopidfile
'

# Waits up to five seconds for "$@" to succeed while the process $1 lives.
_private_resolved_wait() {
    local pid=$1 i
    shift
    for ((i = 0; i < 250; i++)); do
        "$@" && return 0
        _private_resolved_alive "$pid" || return 1
        sleep 0.02
    done
    return 1
}

# Running, not merely unreaped.
_private_resolved_alive() {
    local stat
    stat=$(cat "/proc/$1/stat" 2>/dev/null) || return 1
    stat=${stat##*) }
    [ "${stat%% *}" != Z ]
}

# True when the bus at $1 says the daemon's name belongs to process $2.
_private_resolved_owned_by() {
    [ "$(busctl --address="$1" call org.freedesktop.DBus /org/freedesktop/DBus org.freedesktop.DBus \
        GetConnectionUnixProcessID s org.freedesktop.resolve1 2>/dev/null)" = "u $2" ]
}

private_resolved_up() {
    [ $# -eq 2 ] || _private_resolved_fail 1 "usage: private_resolved_up NETNS_PATH STATE_DIR" || return
    local netns=$1 state cache address libdir dbus_pid resolved_pid
    _private_resolved_preconditions "$netns" || return
    cache=$(_private_resolved_cache)
    state=$(realpath -m "$2")
    address="unix:path=$state/bus"
    [ ${#state} -le 100 ] || _private_resolved_fail 1 "$state is too long for a socket path" || return
    [ ! -e "$state/dbus.pid" ] || _private_resolved_fail 1 "already up in $state" || return
    if [ ! -d "$state" ]; then
        mkdir -p "$state" && touch "$state/made"
    fi
    echo "$netns" >"$state/netns"
    _private_resolved_users "$state"
    _private_resolved_config "$state" "$cache"

    nsenter --net="$netns" -- unshare --mount --propagation private -- \
        bash -c "$_private_resolved_mounts" private-resolved "$state" </dev/null >"$state/dbus.log" 2>&1 &
    dbus_pid=$!
    echo "$dbus_pid" >"$state/dbus.pid"
    if ! _private_resolved_wait "$dbus_pid" test -S "$state/bus"; then
        _private_resolved_fail 1 "the bus did not start: $(cat "$state/dbus.log")"
        private_resolved_down "$state"
        return 1
    fi

    libdir=$(dirname "$(find "$cache/root/usr/lib" -name 'libsystemd-shared-*.so' | head -n 1)")
    nsenter --net="$netns" --mount="/proc/$dbus_pid/ns/mnt" -- env -i PATH=/usr/sbin:/usr/bin:/sbin:/bin \
        LD_LIBRARY_PATH="$libdir" DBUS_SYSTEM_BUS_ADDRESS="$address" SYSTEMD_LOG_TARGET=console \
        SYSTEMD_LOG_LEVEL="${PRIVATE_RESOLVED_LOG_LEVEL:-info}" "$cache/root/lib/systemd/systemd-resolved" \
        </dev/null >"$state/resolved.log" 2>&1 &
    resolved_pid=$!
    echo "$resolved_pid" >"$state/resolved.pid"
    # nsenter and env exec the daemon, so the pid is the daemon's; the bus must say the name is its.
    if ! _private_resolved_wait "$resolved_pid" _private_resolved_owned_by "$address" "$resolved_pid"; then
        _private_resolved_fail 1 "org.freedesktop.resolve1 is not owned by systemd-resolved" \
            "($resolved_pid) on $address: $(cat "$state/resolved.log")"
        private_resolved_down "$state"
        return 1
    fi
    export DBUS_SYSTEM_BUS_ADDRESS=$address
    echo "DBUS_SYSTEM_BUS_ADDRESS=$address"
}

# Stops a daemon, reaping it when it is this shell's child.
_private_resolved_stop() {
    local pid=$1 i
    kill -TERM "$pid" 2>/dev/null || return 0
    for ((i = 0; i < 250; i++)); do
        _private_resolved_alive "$pid" || break
        sleep 0.01
    done
    _private_resolved_alive "$pid" && kill -KILL "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null || true
}

private_resolved_down() {
    [ $# -eq 1 ] || _private_resolved_fail 1 "usage: private_resolved_down STATE_DIR" || return
    local state=$1 name
    for name in resolved dbus; do
        [ -f "$state/$name.pid" ] && _private_resolved_stop "$(cat "$state/$name.pid")"
    done
    rm -f "$state"/{bus,bus.conf,passwd,group,resolved.conf,resolv.conf,netns} \
        "$state"/{dbus,resolved}.{pid,log}
    if [ -f "$state/made" ]; then
        rm -f "$state/made"
        rmdir "$state"
    fi
    return 0
}

# For a caller that cannot source this file: the daemons live as long as its pipe into us.
private_resolved_hold() {
    private_resolved_up "$@" || return
    while read -r _; do :; done
    private_resolved_down "$2"
}

private_resolved_busctl() {
    local state=$1
    shift
    busctl --address="unix:path=$(cd "$state" && pwd)/bus" "$@"
}

private_resolved_link_dns() {
    local state=$1 link=$2 object reply
    if [[ ! $link =~ ^[0-9]+$ ]]; then
        link=$(nsenter --net="$(cat "$state/netns")" ip -o link show dev "$link") || return 1
        link=${link%%:*}
    fi
    object=$(private_resolved_busctl "$state" call org.freedesktop.resolve1 /org/freedesktop/resolve1 \
        org.freedesktop.resolve1.Manager GetLink i "$link") || return 1
    object=${object#o \"}
    reply=$(private_resolved_busctl "$state" get-property org.freedesktop.resolve1 "${object%\"}" \
        org.freedesktop.resolve1.Link DNS) || return 1
    # "a(iay) 2 2 4 192 0 2 53 10 16 32 1 13 184 0 0 ..." : count, then family, length, bytes.
    echo "$reply" | awk '{
        i = 3
        for (n = 0; n < $2; n++) {
            family = $(i); length_ = $(i + 1); i += 2; text = ""
            if (family == 2) {
                for (b = 0; b < length_; b++) text = text (b ? "." : "") $(i + b)
            } else {
                for (b = 0; b < length_; b += 2)
                    text = text (b ? ":" : "") sprintf("%x", $(i + b) * 256 + $(i + b + 1))
            }
            i += length_
            print text
        }
    }'
}
