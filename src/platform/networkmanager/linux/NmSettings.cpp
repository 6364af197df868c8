#include "platform/networkmanager/linux/NmSettings.h"

#include <arpa/inet.h>

#include <algorithm>
#include <cstring>

namespace networkmanager {

namespace {

// The keys of the ipv4 group a switch decides. "addresses" is the older form of "address-data";
// NetworkManager takes it over "address-data" when both come, so it is never written back.
bool IsSwitched(const char* key, const Ipv4Switch& change) {
    return std::strcmp(key, "method") == 0 || std::strcmp(key, "addresses") == 0 ||
           std::strcmp(key, "address-data") == 0 || (change.gateway && std::strcmp(key, "gateway") == 0) ||
           (!change.servers.empty() && std::strcmp(key, "dns") == 0);
}

bool CopyValue(DBusMessageIter& from, DBusMessageIter& to) {
    const int type = dbus_message_iter_get_arg_type(&from);
    if (dbus_type_is_basic(type)) {
        DBusBasicValue value{};
        dbus_message_iter_get_basic(&from, &value);
        return dbus_message_iter_append_basic(&to, type, &value) != 0;
    }
    DBusMessageIter inner;
    DBusMessageIter written;
    dbus_message_iter_recurse(&from, &inner);
    char* signature = nullptr;
    if (type == DBUS_TYPE_VARIANT)
        signature = dbus_message_iter_get_signature(&inner);
    else if (type == DBUS_TYPE_ARRAY)
        signature = dbus_message_iter_get_signature(&from);
    // An array's own signature starts with its "a"; the container wants the element's.
    const char* contained = signature == nullptr ? nullptr : signature + (type == DBUS_TYPE_ARRAY ? 1 : 0);
    bool ok = dbus_message_iter_open_container(&to, type, contained, &written) != 0;
    dbus_free(signature);
    for (; ok && dbus_message_iter_get_arg_type(&inner) != DBUS_TYPE_INVALID; dbus_message_iter_next(&inner))
        ok = CopyValue(inner, written);
    if (!ok) {
        dbus_message_iter_abandon_container_if_open(&to, &written);
        return false;
    }
    return dbus_message_iter_close_container(&to, &written) != 0;
}

// An entry {key, variant of the given signature}, the variant's value written by "write".
template <typename Write>
bool AppendEntry(DBusMessageIter& dict, const char* key, const char* signature, Write write) {
    DBusMessageIter entry;
    DBusMessageIter variant;
    return dbus_message_iter_open_container(&dict, DBUS_TYPE_DICT_ENTRY, nullptr, &entry) &&
           dbus_message_iter_append_basic(&entry, DBUS_TYPE_STRING, &key) &&
           dbus_message_iter_open_container(&entry, DBUS_TYPE_VARIANT, signature, &variant) &&
           write(variant) && dbus_message_iter_close_container(&entry, &variant) &&
           dbus_message_iter_close_container(&dict, &entry);
}

bool AppendString(DBusMessageIter& variant, const std::string& text) {
    const char* value = text.c_str();
    return dbus_message_iter_append_basic(&variant, DBUS_TYPE_STRING, &value) != 0;
}

bool AppendAddresses(DBusMessageIter& variant, const std::vector<NmAddress>& addresses) {
    DBusMessageIter array;
    if (!dbus_message_iter_open_container(&variant, DBUS_TYPE_ARRAY, "a{sv}", &array))
        return false;
    for (const NmAddress& address : addresses) {
        DBusMessageIter dict;
        const dbus_uint32_t prefix = address.prefix;
        if (!dbus_message_iter_open_container(&array, DBUS_TYPE_ARRAY, "{sv}", &dict) ||
            !AppendEntry(dict, "address", "s",
                         [&](DBusMessageIter& v) { return AppendString(v, address.address); }) ||
            !AppendEntry(dict, "prefix", "u",
                         [&](DBusMessageIter& v) {
                             return dbus_message_iter_append_basic(&v, DBUS_TYPE_UINT32, &prefix);
                         }) ||
            !dbus_message_iter_close_container(&array, &dict))
            return false;
    }
    return dbus_message_iter_close_container(&variant, &array) != 0;
}

// DNS servers go as IPv4 addresses in network byte order, in the order given.
bool AppendServers(DBusMessageIter& variant, const std::vector<std::string>& servers) {
    DBusMessageIter array;
    if (!dbus_message_iter_open_container(&variant, DBUS_TYPE_ARRAY, "u", &array))
        return false;
    for (const std::string& server : servers) {
        in_addr address{};
        const dbus_uint32_t value = ::inet_pton(AF_INET, server.c_str(), &address) == 1 ? address.s_addr : 0;
        if (value == 0 || !dbus_message_iter_append_basic(&array, DBUS_TYPE_UINT32, &value))
            return false;
    }
    return dbus_message_iter_close_container(&variant, &array) != 0;
}

// One a{sv} of address-data: {"address": s, "prefix": u}.
NmAddress ReadAddress(DBusMessageIter dict) {
    NmAddress address;
    DBusMessageIter entry;
    for (dbus_message_iter_recurse(&dict, &entry);
         dbus_message_iter_get_arg_type(&entry) == DBUS_TYPE_DICT_ENTRY; dbus_message_iter_next(&entry)) {
        DBusMessageIter field;
        DBusMessageIter value;
        const char* key = nullptr;
        dbus_message_iter_recurse(&entry, &field);
        dbus_message_iter_get_basic(&field, &key);
        dbus_message_iter_next(&field);
        dbus_message_iter_recurse(&field, &value);
        const int type = dbus_message_iter_get_arg_type(&value);
        if (std::strcmp(key, "address") == 0 && type == DBUS_TYPE_STRING) {
            const char* text = nullptr;
            dbus_message_iter_get_basic(&value, &text);
            address.address = text;
        } else if (std::strcmp(key, "prefix") == 0 && type == DBUS_TYPE_UINT32) {
            dbus_message_iter_get_basic(&value, &address.prefix);
        }
    }
    return address;
}

std::vector<NmAddress> ReadAddresses(DBusMessageIter variant) {
    std::vector<NmAddress> addresses;
    DBusMessageIter array;
    DBusMessageIter dict;
    dbus_message_iter_recurse(&variant, &array);
    if (dbus_message_iter_get_arg_type(&array) != DBUS_TYPE_ARRAY)
        return addresses;
    for (dbus_message_iter_recurse(&array, &dict); dbus_message_iter_get_arg_type(&dict) == DBUS_TYPE_ARRAY;
         dbus_message_iter_next(&dict))
        addresses.push_back(ReadAddress(dict));
    return addresses;
}

// The ipv4 group's a{sv}: the keys the switch does not decide as they were, then the switch's own.
bool WriteIpv4(DBusMessageIter* group, DBusMessageIter& out, const Ipv4Switch& change) {
    DBusMessageIter dict;
    std::vector<NmAddress> before;
    if (!dbus_message_iter_open_container(&out, DBUS_TYPE_ARRAY, "{sv}", &dict))
        return false;
    DBusMessageIter entry;
    if (group != nullptr)
        dbus_message_iter_recurse(group, &entry);
    for (; group != nullptr && dbus_message_iter_get_arg_type(&entry) == DBUS_TYPE_DICT_ENTRY;
         dbus_message_iter_next(&entry)) {
        DBusMessageIter field;
        const char* key = nullptr;
        dbus_message_iter_recurse(&entry, &field);
        dbus_message_iter_get_basic(&field, &key);
        if (std::strcmp(key, "address-data") == 0) {
            dbus_message_iter_next(&field);
            before = ReadAddresses(field);
        }
        if (!IsSwitched(key, change) && !CopyValue(entry, dict))
            return false;
    }
    const std::vector<NmAddress> after = AddressesAfter(before, change.wanted, change.index);
    const bool removeGateway = change.gateway && (change.gateway->empty() || *change.gateway == "0.0.0.0");
    return AppendEntry(dict, "method", "s", [](DBusMessageIter& v) { return AppendString(v, "manual"); }) &&
           AppendEntry(dict, "address-data", "aa{sv}",
                       [&](DBusMessageIter& v) { return AppendAddresses(v, after); }) &&
           (!change.gateway || removeGateway ||
            AppendEntry(dict, "gateway", "s",
                        [&](DBusMessageIter& v) { return AppendString(v, *change.gateway); })) &&
           (change.servers.empty() ||
            AppendEntry(dict, "dns", "au",
                        [&](DBusMessageIter& v) { return AppendServers(v, change.servers); })) &&
           dbus_message_iter_close_container(&out, &dict);
}

bool AppendGroup(DBusMessageIter& out, const char* name, DBusMessageIter* group, const Ipv4Switch& change) {
    DBusMessageIter entry;
    return dbus_message_iter_open_container(&out, DBUS_TYPE_DICT_ENTRY, nullptr, &entry) &&
           dbus_message_iter_append_basic(&entry, DBUS_TYPE_STRING, &name) &&
           WriteIpv4(group, entry, change) && dbus_message_iter_close_container(&out, &entry);
}

}  // namespace

std::vector<NmAddress> AddressesAfter(std::vector<NmAddress> before, const NmAddress& wanted,
                                      std::uint32_t index) {
    if (std::find(before.begin(), before.end(), wanted) != before.end())
        return before;
    if (index < before.size())
        before[index] = wanted;
    else
        before.push_back(wanted);
    return before;
}

bool WriteSettings(DBusMessageIter& settings, DBusMessageIter& out, const Ipv4Switch* change) {
    if (dbus_message_iter_get_arg_type(&settings) != DBUS_TYPE_ARRAY ||
        dbus_message_iter_get_element_type(&settings) != DBUS_TYPE_DICT_ENTRY)
        return false;
    DBusMessageIter groups;
    DBusMessageIter entry;
    bool hadIpv4 = false;
    if (!dbus_message_iter_open_container(&out, DBUS_TYPE_ARRAY, "{sa{sv}}", &groups))
        return false;
    for (dbus_message_iter_recurse(&settings, &entry);
         dbus_message_iter_get_arg_type(&entry) == DBUS_TYPE_DICT_ENTRY; dbus_message_iter_next(&entry)) {
        DBusMessageIter field;
        const char* name = nullptr;
        dbus_message_iter_recurse(&entry, &field);
        dbus_message_iter_get_basic(&field, &name);
        dbus_message_iter_next(&field);
        const bool ipv4 = change != nullptr && std::strcmp(name, "ipv4") == 0;
        hadIpv4 = hadIpv4 || ipv4;
        if (!(ipv4 ? AppendGroup(groups, name, &field, *change) : CopyValue(entry, groups))) {
            dbus_message_iter_abandon_container_if_open(&out, &groups);
            return false;
        }
    }
    if (change != nullptr && !hadIpv4 && !AppendGroup(groups, "ipv4", nullptr, *change)) {
        dbus_message_iter_abandon_container_if_open(&out, &groups);
        return false;
    }
    return dbus_message_iter_close_container(&out, &groups) != 0;
}

std::optional<std::string> FindString(DBusMessageIter settings, const char* group, const char* key) {
    DBusMessageIter entry;
    if (dbus_message_iter_get_arg_type(&settings) != DBUS_TYPE_ARRAY)
        return std::nullopt;
    for (dbus_message_iter_recurse(&settings, &entry);
         dbus_message_iter_get_arg_type(&entry) == DBUS_TYPE_DICT_ENTRY; dbus_message_iter_next(&entry)) {
        DBusMessageIter field;
        const char* name = nullptr;
        dbus_message_iter_recurse(&entry, &field);
        dbus_message_iter_get_basic(&field, &name);
        if (std::strcmp(name, group) != 0)
            continue;
        dbus_message_iter_next(&field);
        DBusMessageIter item;
        for (dbus_message_iter_recurse(&field, &item);
             dbus_message_iter_get_arg_type(&item) == DBUS_TYPE_DICT_ENTRY; dbus_message_iter_next(&item)) {
            DBusMessageIter pair;
            DBusMessageIter value;
            const char* itemKey = nullptr;
            dbus_message_iter_recurse(&item, &pair);
            dbus_message_iter_get_basic(&pair, &itemKey);
            dbus_message_iter_next(&pair);
            dbus_message_iter_recurse(&pair, &value);
            if (std::strcmp(itemKey, key) == 0 &&
                dbus_message_iter_get_arg_type(&value) == DBUS_TYPE_STRING) {
                const char* text = nullptr;
                dbus_message_iter_get_basic(&value, &text);
                return text;
            }
        }
    }
    return std::nullopt;
}

}  // namespace networkmanager
