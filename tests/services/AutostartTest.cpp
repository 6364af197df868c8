#include "services/Autostart.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "fakes/InMemoryRegistry.h"
#include "platform/registry/RegistrySchema.h"

namespace {

using winreg::kRunKeyPath;
using winreg::kRunValueName;

constexpr std::string_view kModulePath = "C:\\Tools\\tarnquill.exe";

std::vector<std::uint8_t> Bytes(std::string_view text) {
    return {text.begin(), text.end()};
}

struct ReadCase {
    const char* name;
    std::optional<std::vector<std::uint8_t>> stored;  // nothing: no value
    bool denyWrites;
    bool expected;
};

class ReadAutostart : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ReadAutostart, ChecksOnlyForThisVeryExecutable) {
    const ReadCase& c = GetParam();
    fakes::InMemoryRegistry registry;
    registry.CreateKey(kRunKeyPath);
    if (c.stored)
        registry.Put(kRunKeyPath, kRunValueName, win::REG_SZ, *c.stored);
    if (c.denyWrites)
        registry.DenyWrites(kRunKeyPath);
    EXPECT_EQ(services::IsAutostartSetFor(registry, kModulePath), c.expected);
    EXPECT_EQ(registry.OpenKeyCount(), 0) << "the key is closed again";
}

std::vector<std::uint8_t> WithNul(std::string_view text) {
    auto bytes = Bytes(text);
    bytes.push_back(0);
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ReadAutostart,
    ::testing::Values(
        ReadCase{"NoValue", std::nullopt, false, false},
        ReadCase{"SamePath", WithNul(kModulePath), false, true},
        ReadCase{"SamePathWithoutNul", Bytes(kModulePath), false, true},
        ReadCase{"TextEndsAtFirstNul", WithNul(std::string(kModulePath) + '\0' + "junk"), false, true},
        ReadCase{"OtherLetterCase", WithNul("c:\\tools\\TARNQUILL.EXE"), false, false},
        ReadCase{"MovedExecutable", WithNul("D:\\Old\\tarnquill.exe"), false, false},
        ReadCase{"PathWithArguments", WithNul(std::string(kModulePath) + " /min"), false, false},
        ReadCase{"KeyWithoutFullAccess", WithNul(kModulePath), true, false}),
    [](const auto& info) { return std::string(info.param.name); });

// At most 255 bytes of data are asked for: a path of 254 bytes and its NUL fit, one byte more does not.
TEST(ReadAutostartLimit, ValueOfMoreThan255BytesCountsAsMissing) {
    for (const std::size_t length : {254u, 255u}) {
        const std::string longPath = "/opt/" + std::string(length - 5, 'x');
        fakes::InMemoryRegistry registry;
        registry.CreateKey(kRunKeyPath);
        registry.PutString(kRunKeyPath, kRunValueName, longPath);
        EXPECT_EQ(services::IsAutostartSetFor(registry, longPath), length == 254) << length;
    }
}

TEST(StoreAutostart, WritesThePathWithItsNulAndDeletesIt) {
    fakes::InMemoryRegistry registry;
    registry.CreateKey(kRunKeyPath);
    registry.PutString(kRunKeyPath, kRunValueName, "D:\\Old\\tarnquill.exe");

    services::StoreAutostart(registry, true, kModulePath);
    const auto value = registry.Get(kRunKeyPath, kRunValueName);
    ASSERT_TRUE(value);
    EXPECT_EQ(value->type, win::REG_SZ);
    EXPECT_EQ(value->data, WithNul(kModulePath)) << "replaces the old path";
    EXPECT_TRUE(services::IsAutostartSetFor(registry, kModulePath));

    services::StoreAutostart(registry, false, kModulePath);
    EXPECT_FALSE(registry.Get(kRunKeyPath, kRunValueName));
    services::StoreAutostart(registry, false, kModulePath);  // deleting a missing value is quiet
    EXPECT_FALSE(registry.Get(kRunKeyPath, kRunValueName));
    EXPECT_EQ(registry.OpenKeyCount(), 0);
}

TEST(StoreAutostart, KeyWithoutFullAccessChangesNothing) {
    fakes::InMemoryRegistry registry;
    registry.CreateKey(kRunKeyPath);
    registry.PutString(kRunKeyPath, kRunValueName, "D:\\Old\\tarnquill.exe");
    registry.DenyWrites(kRunKeyPath);

    services::StoreAutostart(registry, true, kModulePath);
    services::StoreAutostart(registry, false, kModulePath);
    const auto value = registry.Get(kRunKeyPath, kRunValueName);
    ASSERT_TRUE(value);
    EXPECT_EQ(value->data, WithNul("D:\\Old\\tarnquill.exe"));
    EXPECT_EQ(registry.SetValueCalls(), 0);
}

}  // namespace
