#!/usr/bin/env bash
# Unpacks, once, the daemons the root tests run inside their network namespaces into
# build/test-daemons/, without installing them: installing systemd-resolved would turn the host's
# /etc/resolv.conf into a symlink. The daemon is taken with the libsystemd-shared of its own
# version, which the tests load ahead of the host's through LD_LIBRARY_PATH (the binary's RUNPATH
# names the host's copy, and the package insists on the exact version). NetworkManager comes with the
# libraries it and nmcli load that a bare machine lacks; nothing of it is ever started outside a test's
# own namespaces. Silent when already there.
set -euo pipefail
cd "$(dirname "$0")/../.."

cache=$PWD/build/test-daemons
root=$cache/root
marker=$cache/ready
networkmanager=(network-manager libnm0 libndp0 libteamdctl0 libnewt0.52 libmm-glib0 libbluetooth3)
[ -f "$marker" ] && [ -x "$root/lib/systemd/systemd-resolved" ] && [ -x "$root/usr/sbin/NetworkManager" ] &&
    exit 0

sudo_cmd=()
[ "$(id -u)" -eq 0 ] || sudo_cmd=(sudo)

version=$(apt-cache policy systemd-resolved 2>/dev/null | awk '/Candidate:/ { print $2 }')
if [ -z "$version" ] || [ "$version" = "(none)" ]; then
    "${sudo_cmd[@]}" apt-get update -qq
    version=$(apt-cache policy systemd-resolved | awk '/Candidate:/ { print $2 }')
fi
if [ -z "$version" ] || [ "$version" = "(none)" ]; then
    echo "fetch-test-daemons: no systemd-resolved package in the apt sources" >&2
    exit 1
fi

download=$(mktemp -d)
trap 'rm -rf "$download"' EXIT
fetch() {
    # The download runs as the calling user: apt's _apt sandbox user cannot write into our folder.
    (cd "$download" && apt-get download -qq -o APT::Sandbox::User="$(id -un)" \
        "systemd-resolved=$version" "libsystemd-shared=$version" "${networkmanager[@]}")
}
if ! fetch; then
    # A list older than the mirror names files that are gone from it.
    "${sudo_cmd[@]}" apt-get update -qq
    version=$(apt-cache policy systemd-resolved | awk '/Candidate:/ { print $2 }')
    fetch
fi

rm -rf "$cache"
mkdir -p "$root"
for deb in "$download"/*.deb; do
    dpkg-deb -x "$deb" "$root"
done

shared=$(find "$root/usr/lib" -name 'libsystemd-shared-*.so' | head -n 1)
libdir=$(dirname "$shared")
linked=$(LD_LIBRARY_PATH=$libdir ldd "$root/lib/systemd/systemd-resolved")
missing=$(echo "$linked" | awk '/not found/ { print $1 }')
if [ -n "$missing" ]; then
    echo "fetch-test-daemons: systemd-resolved needs libraries this machine lacks:" "$missing" >&2
    exit 1
fi
if [[ $linked != *"$(basename "$shared") => $shared "* ]]; then
    echo "fetch-test-daemons: systemd-resolved does not load the libsystemd-shared beside it" >&2
    exit 1
fi
nm_libdir=$root/usr/lib/$(gcc -print-multiarch 2>/dev/null || dpkg-architecture -qDEB_HOST_MULTIARCH)
for binary in "$root/usr/sbin/NetworkManager" "$root/usr/bin/nmcli"; do
    missing=$(LD_LIBRARY_PATH=$nm_libdir ldd "$binary" | awk '/not found/ { print $1 }')
    if [ -n "$missing" ]; then
        echo "fetch-test-daemons: $(basename "$binary") needs libraries this machine lacks:" "$missing" >&2
        exit 1
    fi
done
echo "$version" >"$marker"
echo "Unpacked systemd-resolved $version and NetworkManager into build/test-daemons"
