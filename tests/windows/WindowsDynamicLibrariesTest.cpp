#include "platform/dhcp/windows/WindowsDynamicLibraries.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using SetStatus = void (*)(std::uint32_t);
using LastCall = void (*)(std::u16string*);
using Calls = int (*)();

// The test's dhcpcsvc.dll lies beside the test executable, as the program ships none and finds the
// system's: LoadLibrary takes the one in the executable's folder first.
class WindowsDynamicLibrariesTest : public ::testing::Test {
  protected:
    void SetUp() override {
        module = libraries.LoadLibrary("dhcpcsvc");
        ASSERT_NE(module, nullptr);
    }
    void TearDown() override { EXPECT_TRUE(libraries.FreeLibrary(module)); }

    template <typename Function>
    Function Find(std::string_view name) {
        return reinterpret_cast<Function>(libraries.GetProcAddress(module, name));
    }

    platform_windows::WindowsDynamicLibraries libraries;
    win::HMODULE module = nullptr;
};

TEST_F(WindowsDynamicLibrariesTest, NotificationGetsItsSevenArgumentsAndGivesItsStatus) {
    const auto notify = Find<win::DhcpNotifyConfigChangeFunction>("DhcpNotifyConfigChange");
    ASSERT_NE(notify, nullptr);
    for (const std::uint32_t status : {0u, 87u}) {
        Find<SetStatus>("TestDhcpSetStatus")(status);
        EXPECT_EQ(notify(nullptr, u"{4D36E972-0001}", 1, 0, 0x0A01A8C0, 0x00FFFFFF, 0), status);
    }
    std::u16string call;
    Find<LastCall>("TestDhcpLastCall")(&call);
    EXPECT_EQ(call, u"(null)|{4D36E972-0001}|1|0|167880896|16777215|0");
    EXPECT_EQ(Find<Calls>("TestDhcpCalls")(), 2);
}

TEST_F(WindowsDynamicLibrariesTest, WhatIsNotThereIsNull) {
    EXPECT_EQ(libraries.GetProcAddress(module, "NoSuchFunction"), nullptr);
    EXPECT_EQ(libraries.LoadLibrary("ostrelle-no-such-library"), nullptr);
    EXPECT_EQ(libraries.GetProcAddress(nullptr, "DhcpNotifyConfigChange"), nullptr);
    EXPECT_FALSE(libraries.FreeLibrary(nullptr));
}

}  // namespace
