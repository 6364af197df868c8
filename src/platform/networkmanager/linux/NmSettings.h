#pragma once
// A connection's settings as NetworkManager hands them over the bus (a{sa{sv}}: group, key, value),
// rewritten with the IPv4 settings of a switch. Everything else of the connection passes through
// untouched, so that writing it back changes only what the switch is about.

#include <dbus/dbus.h>

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace networkmanager {

struct NmAddress {
    std::string address;  // dotted
    std::uint32_t prefix = 0;
    bool operator==(const NmAddress&) const = default;
};

// What a switch puts into the connection's ipv4 group. Blank fields mean what they mean to the
// rtnetlink switch: a gateway of nullopt keeps the connection's, "" or "0.0.0.0" removes it; no
// servers keep the connection's DNS servers.
struct Ipv4Switch {
    NmAddress wanted;
    std::uint32_t index = 0;  // the address the wanted one takes the place of
    std::optional<std::string> gateway;
    std::vector<std::string> servers;
};

// The connection's addresses after the switch: the wanted address in place of the one at the index
// (appended when there is none there), the others kept; unchanged when the wanted one is among them.
std::vector<NmAddress> AddressesAfter(std::vector<NmAddress> before, const NmAddress& wanted,
                                      std::uint32_t index);

// Appends to "out" (a message being built) the a{sa{sv}} that "settings" (an iterator at one) holds,
// with the ipv4 group rewritten for the switch, or unchanged when there is none. False when the
// settings are not a{sa{sv}} or a value cannot be written.
bool WriteSettings(DBusMessageIter& settings, DBusMessageIter& out, const Ipv4Switch* change);

// The string at settings[group][key], if there is one.
std::optional<std::string> FindString(DBusMessageIter settings, const char* group, const char* key);

}  // namespace networkmanager
