#include "platform/inet/linux/CurlInet.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

using Lines = std::vector<std::string>;

TEST(RequestHeaderLines, CallersLinesThenTheNoCacheLines) {
    const struct {
        std::string_view headers;
        win::DWORD length;
        win::DWORD flags;
        Lines expected;
    } cases[] = {
        {"Accept: */*\r\n\r\n",
         15,
         0x84000100,
         {"Accept: */*", "Pragma: no-cache", "Cache-Control: no-cache"}},
        {"Accept: */*\r\n\r\n", 15, 0, {"Accept: */*"}},
        {"Accept: */*\r\nX-A: 1", 11, win::INTERNET_FLAG_PRAGMA_NOCACHE, {"Accept: */*", "Pragma: no-cache"}},
        {"A: 1\r\nB: 2", 100, 0, {"A: 1", "B: 2"}},
        {"", 0, win::INTERNET_FLAG_RELOAD, {"Cache-Control: no-cache"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(platform_linux::RequestHeaderLines(c.headers, c.length, c.flags), c.expected) << c.headers;
    }
}

TEST(ConnectedState, ProxyFlagFollowsTheEnvironment) {
    for (const char* name : {"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY"})
        ::unsetenv(name);
    platform_linux::CurlInet inet;
    win::DWORD flags = 0;
    EXPECT_TRUE(inet.InternetGetConnectedState(&flags, 0));
    EXPECT_EQ(flags & win::INTERNET_CONNECTION_PROXY, 0u);
    ::setenv("http_proxy", "http://127.0.0.1:3128", 1);
    EXPECT_TRUE(inet.InternetGetConnectedState(&flags, 0));
    EXPECT_NE(flags & win::INTERNET_CONNECTION_PROXY, 0u);
    ::unsetenv("http_proxy");
}

TEST(CurlHandles, UnknownAndClosedHandlesAreRefused) {
    platform_linux::CurlInet inet;
    win::HINTERNET session = inet.InternetOpen("Agent1", 0, "", "", 0);
    ASSERT_NE(session, nullptr);
    char buffer[4];
    win::DWORD read = 0;
    EXPECT_FALSE(inet.InternetReadFile(session, buffer, sizeof buffer, &read))
        << "a session is no URL handle";
    EXPECT_TRUE(inet.InternetCloseHandle(session));
    EXPECT_FALSE(inet.InternetCloseHandle(session));
    EXPECT_EQ(inet.InternetOpenUrl(session, "http://127.0.0.1:9/", "", 0, 0, 0), nullptr);
}

}  // namespace
