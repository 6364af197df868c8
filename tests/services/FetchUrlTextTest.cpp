#include <gtest/gtest.h>

#include <cstdlib>
#include <future>
#include <regex>
#include <thread>

#include "LoopbackHttpServer.h"
#include "fakes/FakeInet.h"
#include "fakes/FakeSystem.h"
#include "fakes/GbkText.h"
#include "platform/inet/linux/CurlInet.h"
#include "platform/system/linux/LinuxSystem.h"
#include "services/UpdateCheck.h"

namespace {

using testing_http::LoopbackHttpServer;
using testing_http::MakeResponse;
using testing_http::Request;
using testing_http::Response;

TEST(UserAgent, MillisecondsSinceBootAsSigned32Bit) {
    const std::pair<win::DWORD, const char*> cases[] = {
        {0, "Agent0"},
        {123456, "Agent123456"},
        {0x7FFFFFFF, "Agent2147483647"},
        {0x80000000, "Agent-2147483648"},  // after about 24.8 days of uptime
        {0xFFFFFFFF, "Agent-1"},
    };
    for (const auto& [ticks, agent] : cases)
        EXPECT_EQ(services::UserAgentFor(ticks), agent) << ticks;
}

TEST(ShouldAnnounce, AnyOtherVersionOfDigitDotDigit) {
    const std::pair<const char*, bool> cases[] = {
        {"3.3", true},   {"3.1", true},       {"4.0", true},     {"0.9", true},     {"3.2", false},
        {"3.10", false}, {"3.3\r\n", false},  {"3.3\n", false},  {"", false},       {"Error", false},
        {"3.", false},   {"abc", false},      {"404", false},    {"<b>", false},    {"3,3", false},
        {" 33", false},  {"\xa3\xb3", false}, {"3.\xff", false}, {"\xb3.3", false},
    };
    for (const auto& [text, expected] : cases)
        EXPECT_EQ(services::ShouldAnnounce(text, "3.2"), expected) << text;
}

TEST(AnnouncementText, NamesTheVersionWithTheFullWidthComma) {
    EXPECT_EQ(services::AnnouncementText("3.3"), fakes::Gbk("已推出最新的3.3版本，请到软件主页下载!"));
}

// FetchUrlText over a scripted client: what it asks for and how it puts the answer together.
class FetchWithFakeInet : public ::testing::Test {
  protected:
    std::string Fetch() {
        return services::FetchUrlText(inet, system, "http://example.test/version/tarnquill.txt");
    }
    fakes::FakeInet inet;
    fakes::FakeSystem system;
};

TEST_F(FetchWithFakeInet, AsksAsTheServerExpects) {
    system.tickCount = 0x80000001;
    inet.pieces = {"3.3"};
    EXPECT_EQ(Fetch(), "3.3");
    EXPECT_EQ(inet.agent, "Agent-2147483647");
    EXPECT_EQ(inet.accessType, win::INTERNET_OPEN_TYPE_PRECONFIG_WITH_NO_AUTOPROXY);
    EXPECT_TRUE(inet.sessionPassed);
    EXPECT_EQ(inet.url, "http://example.test/version/tarnquill.txt");
    EXPECT_EQ(inet.headers, "Accept: */*\r\n\r\n");
    EXPECT_EQ(inet.urlFlags, 0x84000100u);
    for (win::DWORD size : inet.readSizes)
        EXPECT_EQ(size, 16384u);
    EXPECT_EQ(inet.closed, (std::vector<std::string>{"url", "internet"}));
}

TEST_F(FetchWithFakeInet, ProxyInUseTakesTheSystemSettingsWhole) {
    inet.connectedFlags = win::INTERNET_CONNECTION_LAN | win::INTERNET_CONNECTION_PROXY;
    Fetch();
    EXPECT_EQ(inet.accessType, win::INTERNET_OPEN_TYPE_PRECONFIG);
}

TEST_F(FetchWithFakeInet, OnlyASuccessfulReplyGivesItsBody) {
    const std::pair<win::DWORD, const char*> cases[] = {
        {200, "3.3"},   {203, "3.3"},   {299, "3.3"},   {199, "Error"},
        {304, "Error"}, {302, "Error"}, {404, "Error"}, {503, "Error"},
    };
    for (const auto& [status, expected] : cases) {
        fakes::FakeInet inet;
        inet.pieces = {"3.3"};
        inet.statusCode = status;
        EXPECT_EQ(services::FetchUrlText(inet, system, "http://example.test/"), expected) << status;
        EXPECT_EQ(inet.queriedInfo, win::HTTP_QUERY_STATUS_CODE | win::HTTP_QUERY_FLAG_NUMBER);
        EXPECT_EQ(inet.openHandles, 0);
    }
    inet.pieces = {"3.3"};
    inet.statusKnown = false;
    EXPECT_EQ(Fetch(), "Error") << "a status that cannot be had";
}

TEST_F(FetchWithFakeInet, PiecesAreJoinedAndEachEndsAtItsNul) {
    inet.pieces = {"3", ".", std::string("3\0xx", 4), "abc"};
    EXPECT_EQ(Fetch(), "3.3abc");
}

struct FailureCase {
    const char* name;
    bool failOpen;
    bool failOpenUrl;
    int failReadAt;
    std::vector<std::string> closed;
};

class FetchFailure : public ::testing::TestWithParam<FailureCase> {};

TEST_P(FetchFailure, GivesErrorAndClosesWhatWasOpened) {
    const FailureCase& c = GetParam();
    fakes::FakeInet inet;
    fakes::FakeSystem system;
    inet.pieces = {"3.", "3"};
    inet.failOpen = c.failOpen;
    inet.failOpenUrl = c.failOpenUrl;
    inet.failReadAt = c.failReadAt;
    EXPECT_EQ(services::FetchUrlText(inet, system, "http://example.test/"), "Error");
    EXPECT_EQ(inet.closed, c.closed);
    EXPECT_EQ(inet.openHandles, 0);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FetchFailure,
    ::testing::Values(FailureCase{"NoInternetHandle", true, false, -1, {}},
                      FailureCase{"NoUrlHandle", false, true, -1, {"internet"}},
                      FailureCase{"FirstReadFails", false, false, 0, {"url", "internet"}},
                      FailureCase{"LaterReadDropsWhatCameBefore", false, false, 2, {"url", "internet"}}),
    [](const auto& info) { return std::string(info.param.name); });

// The real client against a server on the loopback interface.
class FetchOverLoopback : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* name : {"http_proxy", "HTTP_PROXY", "all_proxy", "ALL_PROXY"})
            ::unsetenv(name);
    }
    std::string Fetch(const std::string& url) { return services::FetchUrlText(inet, system, url); }
    platform_linux::CurlInet inet;
    platform_linux::LinuxSystem system;
};

TEST_F(FetchOverLoopback, RequestCarriesAgentAcceptAndNoCache) {
    LoopbackHttpServer server([](const Request&) { return MakeResponse("200 OK", {"3.3"}); });
    EXPECT_EQ(Fetch(server.Url("/version/tarnquill.txt")), "3.3");
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].path, "/version/tarnquill.txt");
    EXPECT_TRUE(std::regex_match(requests[0].Header("User-Agent"), std::regex("^Agent-?[0-9]+$")))
        << requests[0].Header("User-Agent");
    EXPECT_EQ(requests[0].Header("Accept"), "*/*");
    EXPECT_EQ(requests[0].Header("Pragma"), "no-cache");
    EXPECT_EQ(requests[0].Header("Cache-Control"), "no-cache");
}

TEST_F(FetchOverLoopback, RedirectIsFollowed) {
    LoopbackHttpServer server([](const Request& request) {
        if (request.path == "/old")
            return MakeResponse("302 Found", {}, "Location: /version/tarnquill.txt\r\n");
        return MakeResponse("200 OK", {"3.4"});
    });
    EXPECT_EQ(Fetch(server.Url("/old")), "3.4");
    const auto requests = server.Requests();
    ASSERT_EQ(requests.size(), 2u);
    EXPECT_EQ(requests[1].path, "/version/tarnquill.txt");
}

TEST_F(FetchOverLoopback, BodyInPiecesArrivesWhole) {
    const std::string large(20000, 'x');
    LoopbackHttpServer server([&](const Request&) {
        return MakeResponse("200 OK", {"A", "BCDEFGH", large});
    });
    EXPECT_EQ(Fetch(server.Url("/version/tarnquill.txt")), "ABCDEFGH" + large);
}

// The real client as FetchUrlText uses it, with a pause before each read so that a server that sends
// without end has filled the socket meanwhile; it records what was read and the most a URL handle held.
class MeasuredCurlInet : public platform_linux::CurlInet {
  public:
    using CurlInet::CurlInet;
    bool InternetReadFile(win::HINTERNET file, void* buffer, win::DWORD size, win::DWORD* read) override {
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
        const bool ok = CurlInet::InternetReadFile(file, buffer, size, read);
        bytesRead += *read;
        mostHeld = std::max(mostHeld, HeldBodyBytes(file));
        return ok;
    }
    std::size_t bytesRead = 0;
    std::size_t mostHeld = 0;
};

// Runs the fetch on a thread of its own: a fetch that never ends fails the test instead of hanging it.
std::string FetchWithin(std::chrono::seconds bound, win::Inet& inet, const std::string& url) {
    platform_linux::LinuxSystem system;
    auto fetch = std::async(std::launch::async, [&] { return services::FetchUrlText(inet, system, url); });
    if (fetch.wait_for(bound) != std::future_status::ready) {
        ADD_FAILURE() << "the fetch did not end";
        std::_Exit(1);
    }
    return fetch.get();
}

TEST_F(FetchOverLoopback, EndlessReplyIsCutAtTheBufferAndNeverHeldWhole) {
    Response endless = MakeResponse("200 OK", {});
    endless.forever = std::string(4096, 'x');
    LoopbackHttpServer server([&](const Request&) { return endless; });
    MeasuredCurlInet measured;
    const std::string body = FetchWithin(std::chrono::seconds(20), measured, server.Url("/v"));
    EXPECT_EQ(body, std::string(services::kFetchBufferSize, 'x'));
    EXPECT_LE(measured.bytesRead, services::kFetchBufferSize + services::kReadPieceSize);
    EXPECT_LE(measured.mostHeld, platform_linux::CurlInet::kMaxHeldBody);
}

TEST_F(FetchOverLoopback, TricklingReplyGivesUpAtTheTransferLimit) {
    Response trickle = MakeResponse("200 OK", {});
    trickle.forever = "x";
    trickle.foreverPause = std::chrono::milliseconds(20);
    LoopbackHttpServer server([&](const Request&) { return trickle; });
    platform_linux::CurlInet limited(std::chrono::milliseconds(500));
    const auto start = std::chrono::steady_clock::now();
    EXPECT_EQ(FetchWithin(std::chrono::seconds(20), limited, server.Url("/v")), "Error");
    EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
}

TEST_F(FetchOverLoopback, NoServerGivesError) {
    const std::string url = "http://127.0.0.1:" + std::to_string(testing_http::UnusedLoopbackPort()) + "/";
    EXPECT_FALSE(inet.InternetCheckConnection(url, win::FLAG_ICC_FORCE_CONNECTION, 0));
    EXPECT_EQ(Fetch(url), "Error");
}

}  // namespace
