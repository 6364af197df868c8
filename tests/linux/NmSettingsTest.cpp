// The rewrite of a connection's settings for a switch, on messages built as NetworkManager sends them.
#include "platform/networkmanager/linux/NmSettings.h"

#include <gtest/gtest.h>

#include <memory>

namespace {

using networkmanager::AddressesAfter;
using networkmanager::FindString;
using networkmanager::Ipv4Switch;
using networkmanager::NmAddress;

struct Unref {
    void operator()(DBusMessage* message) const { dbus_message_unref(message); }
};
using Message = std::unique_ptr<DBusMessage, Unref>;

// {key: s} entries of one group.
void AppendGroup(DBusMessageIter& groups, const char* name,
                 const std::vector<std::pair<const char*, const char*>>& strings, bool legacyAddresses) {
    DBusMessageIter entry;
    DBusMessageIter dict;
    dbus_message_iter_open_container(&groups, DBUS_TYPE_DICT_ENTRY, nullptr, &entry);
    dbus_message_iter_append_basic(&entry, DBUS_TYPE_STRING, &name);
    dbus_message_iter_open_container(&entry, DBUS_TYPE_ARRAY, "{sv}", &dict);
    for (const auto& [key, value] : strings) {
        DBusMessageIter item;
        DBusMessageIter variant;
        dbus_message_iter_open_container(&dict, DBUS_TYPE_DICT_ENTRY, nullptr, &item);
        dbus_message_iter_append_basic(&item, DBUS_TYPE_STRING, &key);
        dbus_message_iter_open_container(&item, DBUS_TYPE_VARIANT, "s", &variant);
        dbus_message_iter_append_basic(&variant, DBUS_TYPE_STRING, &value);
        dbus_message_iter_close_container(&item, &variant);
        dbus_message_iter_close_container(&dict, &item);
    }
    if (legacyAddresses) {  // "addresses": aau, [[address, prefix, gateway]]
        DBusMessageIter item;
        DBusMessageIter variant;
        DBusMessageIter outer;
        DBusMessageIter inner;
        const char* key = "addresses";
        const dbus_uint32_t triple[] = {0x05000A0A, 24, 0x01000A0A};
        const dbus_uint32_t* data = triple;
        dbus_message_iter_open_container(&dict, DBUS_TYPE_DICT_ENTRY, nullptr, &item);
        dbus_message_iter_append_basic(&item, DBUS_TYPE_STRING, &key);
        dbus_message_iter_open_container(&item, DBUS_TYPE_VARIANT, "aau", &variant);
        dbus_message_iter_open_container(&variant, DBUS_TYPE_ARRAY, "au", &outer);
        dbus_message_iter_open_container(&outer, DBUS_TYPE_ARRAY, "u", &inner);
        dbus_message_iter_append_fixed_array(&inner, DBUS_TYPE_UINT32, &data, 3);
        dbus_message_iter_close_container(&outer, &inner);
        dbus_message_iter_close_container(&variant, &outer);
        dbus_message_iter_close_container(&item, &variant);
        dbus_message_iter_close_container(&dict, &item);
    }
    dbus_message_iter_close_container(&entry, &dict);
    dbus_message_iter_close_container(&groups, &entry);
}

Message Settings(bool withIpv4) {
    Message message(dbus_message_new_method_call("a.b", "/a", "a.b", "c"));
    DBusMessageIter out;
    DBusMessageIter groups;
    dbus_message_iter_init_append(message.get(), &out);
    dbus_message_iter_open_container(&out, DBUS_TYPE_ARRAY, "{sa{sv}}", &groups);
    AppendGroup(groups, "connection", {{"id", "wired"}, {"interface-name", "eth0"}}, false);
    if (withIpv4)
        AppendGroup(groups, "ipv4", {{"method", "auto"}, {"gateway", "10.10.0.1"}, {"dhcp-hostname", "box"}},
                    true);
    dbus_message_iter_close_container(&out, &groups);
    return message;
}

Message Rewritten(const Message& settings, const Ipv4Switch* change) {
    Message message(dbus_message_new_method_call("a.b", "/a", "a.b", "c"));
    DBusMessageIter from;
    DBusMessageIter out;
    dbus_message_iter_init(settings.get(), &from);
    dbus_message_iter_init_append(message.get(), &out);
    EXPECT_TRUE(networkmanager::WriteSettings(from, out, change));
    return message;
}

// The keys of settings[group], in order.
std::vector<std::string> KeysOf(const Message& message, const std::string& group) {
    std::vector<std::string> keys;
    DBusMessageIter top;
    DBusMessageIter entry;
    dbus_message_iter_init(message.get(), &top);
    for (dbus_message_iter_recurse(&top, &entry);
         dbus_message_iter_get_arg_type(&entry) == DBUS_TYPE_DICT_ENTRY; dbus_message_iter_next(&entry)) {
        DBusMessageIter field;
        DBusMessageIter item;
        const char* name = nullptr;
        dbus_message_iter_recurse(&entry, &field);
        dbus_message_iter_get_basic(&field, &name);
        dbus_message_iter_next(&field);
        for (dbus_message_iter_recurse(&field, &item);
             name == group && dbus_message_iter_get_arg_type(&item) == DBUS_TYPE_DICT_ENTRY;
             dbus_message_iter_next(&item)) {
            DBusMessageIter pair;
            const char* key = nullptr;
            dbus_message_iter_recurse(&item, &pair);
            dbus_message_iter_get_basic(&pair, &key);
            keys.emplace_back(key);
        }
    }
    return keys;
}

std::optional<std::string> Find(const Message& message, const char* group, const char* key) {
    DBusMessageIter top;
    dbus_message_iter_init(message.get(), &top);
    return FindString(top, group, key);
}

TEST(NmSettingsTest, TheWantedAddressTakesThePlaceOfTheOneAtTheIndex) {
    const NmAddress a{"10.0.0.1", 24};
    const NmAddress b{"10.0.1.1", 24};
    const NmAddress wanted{"10.2.0.9", 16};
    const struct {
        std::vector<NmAddress> before;
        std::uint32_t index;
        std::vector<NmAddress> after;
    } cases[] = {
        {{}, 0, {wanted}},         // from DHCP: no address of its own yet
        {{a, b}, 0, {wanted, b}},  // the first one replaced, the other kept
        {{a, b}, 1, {a, wanted}},
        {{a}, 3, {a, wanted}},              // nothing at the index: added
        {{a, wanted}, 0, {a, wanted}},      // already there: nothing changes, wherever it stands
        {{{"10.2.0.9", 24}}, 0, {wanted}},  // same address, other prefix: replaced
    };
    for (const auto& c : cases)
        EXPECT_EQ(AddressesAfter(c.before, wanted, c.index), c.after) << c.index;
}

TEST(NmSettingsTest, OnlyTheSwitchedKeysOfIpv4Change) {
    const Message settings = Settings(true);
    const struct {
        std::optional<std::string> gateway;
        std::vector<std::string> servers;
        std::vector<std::string> keys;
        std::optional<std::string> writtenGateway;
    } cases[] = {
        {std::nullopt, {}, {"gateway", "dhcp-hostname", "method", "address-data"}, "10.10.0.1"},
        {"", {}, {"dhcp-hostname", "method", "address-data"}, std::nullopt},
        {"0.0.0.0", {}, {"dhcp-hostname", "method", "address-data"}, std::nullopt},
        {"10.2.0.1",
         {"192.0.2.53"},
         {"dhcp-hostname", "method", "address-data", "gateway", "dns"},
         "10.2.0.1"},
    };
    for (const auto& c : cases) {
        const Ipv4Switch change{{"10.2.0.9", 24}, 0, c.gateway, c.servers};
        const Message written = Rewritten(settings, &change);
        EXPECT_EQ(KeysOf(written, "ipv4"), c.keys) << c.gateway.value_or("(none)");
        EXPECT_EQ(Find(written, "ipv4", "gateway"), c.writtenGateway);
        EXPECT_EQ(Find(written, "ipv4", "method"), "manual");
        EXPECT_EQ(Find(written, "connection", "id"), "wired");
        EXPECT_EQ(Find(written, "connection", "interface-name"), "eth0");
    }
}

TEST(NmSettingsTest, WithoutAChangeTheSettingsComeBackAsTheyWere) {
    const Message settings = Settings(true);
    const Message written = Rewritten(settings, nullptr);
    EXPECT_EQ(KeysOf(written, "ipv4"),
              (std::vector<std::string>{"method", "gateway", "dhcp-hostname", "addresses"}));
    EXPECT_EQ(Find(written, "ipv4", "method"), "auto");
    EXPECT_STREQ(dbus_message_get_signature(written.get()), "a{sa{sv}}");
}

TEST(NmSettingsTest, AConnectionWithoutIpv4GetsTheGroup) {
    const Ipv4Switch change{{"10.2.0.9", 24}, 0, "10.2.0.1", {}};
    const Message written = Rewritten(Settings(false), &change);
    EXPECT_EQ(KeysOf(written, "ipv4"), (std::vector<std::string>{"method", "address-data", "gateway"}));
    EXPECT_EQ(Find(written, "connection", "id"), "wired");
}

}  // namespace
