#include "platform/inet/windows/WinInet.h"

#include <gtest/gtest.h>

#include <chrono>
#include <future>
#include <string>
#include <thread>

#include "LoopbackHttpServer.h"
#include "platform/system/windows/WindowsSystem.h"

namespace {

using platform_windows::WinInet;
using testing_windows::LoopbackHttpServer;
using testing_windows::RefusedUrl;
using namespace std::chrono_literals;

constexpr win::DWORD kStatusQuery = win::HTTP_QUERY_STATUS_CODE | win::HTTP_QUERY_FLAG_NUMBER;

struct Fetched {
    bool opened = false;
    win::DWORD status = 0;
    std::string body;
};

// What the update check does with one URL: open it, take its status, read the body to its end.
Fetched Fetch(win::Inet& inet, const std::string& url, std::string_view headers = {}) {
    Fetched fetched;
    win::HINTERNET internet = inet.InternetOpen("test", win::INTERNET_OPEN_TYPE_DIRECT, "", "", 0);
    win::HINTERNET file = inet.InternetOpenUrl(
        internet, url, headers, static_cast<win::DWORD>(headers.size()), win::INTERNET_FLAG_RELOAD, 0);
    fetched.opened = file != nullptr;
    if (file != nullptr) {
        win::DWORD length = sizeof fetched.status;
        EXPECT_TRUE(inet.HttpQueryInfo(file, kStatusQuery, &fetched.status, &length, nullptr));
        EXPECT_EQ(length, sizeof fetched.status);
        char piece[3];  // smaller than the body, so it takes several reads
        win::DWORD read = 0;
        while (inet.InternetReadFile(file, piece, sizeof piece, &read) && read > 0)
            fetched.body.append(piece, read);
        EXPECT_TRUE(inet.InternetCloseHandle(file));
    }
    EXPECT_TRUE(inet.InternetCloseHandle(internet));
    return fetched;
}

TEST(WinInetFetch, StatusAndBodyOfLoopbackAnswers) {
    const struct {
        const char* what;
        std::string response;
        Fetched expected;
    } cases[] = {
        {"200 with a body",
         "HTTP/1.1 200 OK\r\nContent-Length: 9\r\nConnection: close\r\n\r\n2.4.1\r\n\r\n",
         {true, 200, "2.4.1\r\n\r\n"}},
        {"404", "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\nConnection: close\r\n\r\n", {true, 404, ""}},
        {"body to the connection's end", "HTTP/1.0 200 OK\r\n\r\n1.0", {true, 200, "1.0"}},
    };
    for (const auto& c : cases) {
        LoopbackHttpServer server(c.response, false);
        WinInet inet;
        const Fetched fetched = Fetch(inet, server.Url("/version.txt"));
        EXPECT_EQ(fetched.opened, c.expected.opened) << c.what;
        EXPECT_EQ(fetched.status, c.expected.status) << c.what;
        EXPECT_EQ(fetched.body, c.expected.body) << c.what;
    }
}

TEST(WinInetFetch, RefusedConnectionGivesNoHandle) {
    WinInet inet;
    EXPECT_FALSE(Fetch(inet, RefusedUrl()).opened);
}

TEST(WinInetFetch, OnlyTheCountedHeaderBytesAreSent) {
    LoopbackHttpServer server("HTTP/1.1 204 No Content\r\nConnection: close\r\n\r\n", false);
    WinInet inet;
    const std::string headers = "Accept: text/plain\r\nX-Not-Counted: 1\r\n";
    win::HINTERNET internet = inet.InternetOpen("agent/1", win::INTERNET_OPEN_TYPE_DIRECT, "", "", 0);
    win::HINTERNET file = inet.InternetOpenUrl(internet, server.Url("/v"), headers, 20, 0, 0);
    ASSERT_NE(file, nullptr);
    const std::string request = server.LastRequest();
    EXPECT_NE(request.find("GET /v HTTP/1.1\r\n"), std::string::npos) << request;
    EXPECT_NE(request.find("Accept: text/plain\r\n"), std::string::npos) << request;
    EXPECT_NE(request.find("User-Agent: agent/1\r\n"), std::string::npos) << request;
    EXPECT_EQ(request.find("X-Not-Counted"), std::string::npos) << request;
    inet.InternetCloseHandle(file);
    inet.InternetCloseHandle(internet);
}

TEST(WinInetFetch, UnknownHandlesAreRefused) {
    WinInet inet;
    int notAHandle = 0;
    auto* unknown = reinterpret_cast<win::HINTERNET>(&notAHandle);
    win::DWORD status = 0;
    win::DWORD length = sizeof status;
    win::DWORD read = 0;
    char byte = 0;
    EXPECT_EQ(inet.InternetOpenUrl(unknown, "http://127.0.0.1/", "", 0, 0, 0), nullptr);
    EXPECT_FALSE(inet.InternetReadFile(unknown, &byte, 1, &read));
    EXPECT_FALSE(inet.HttpQueryInfo(unknown, kStatusQuery, &status, &length, nullptr));
    EXPECT_FALSE(inet.InternetCloseHandle(unknown));
}

// A server that never finishes answering must not hold the fetching thread: WM_CLOSE posted to it, or
// the transfer limit, ends the wait. Each case runs on a thread with a queue, as the update check does.
TEST(WinInetGivingUp, StalledServerIsLeftWhenClosedOrPastTheLimit) {
    const struct {
        const char* what;
        std::string response;  // sent before the server stalls
        bool postClose;
        std::chrono::milliseconds limit;
    } cases[] = {
        {"WM_CLOSE while waiting for the headers", "", true, WinInet::kDefaultTransferLimit},
        {"WM_CLOSE while waiting for the body", "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n1.", true,
         WinInet::kDefaultTransferLimit},
        {"transfer limit while waiting for the headers", "", false, 500ms},
        {"transfer limit while waiting for the body", "HTTP/1.1 200 OK\r\nContent-Length: 100\r\n\r\n1.",
         false, 500ms},
    };
    for (const auto& c : cases) {
        LoopbackHttpServer server(c.response, true);
        WinInet inet(c.limit);
        platform_windows::WindowsSystem system;
        Fetched fetched;
        std::chrono::steady_clock::duration took{};
        win::StartedThread started = system.CreateThread([&] {
            const auto start = std::chrono::steady_clock::now();
            fetched = Fetch(inet, server.Url("/version.txt"));
            took = std::chrono::steady_clock::now() - start;
        });
        if (c.postClose) {
            std::this_thread::sleep_for(300ms);
            EXPECT_TRUE(system.PostThreadMessage(started.id, win::WM_CLOSE, 0, 0)) << c.what;
        }
        started.thread.join();
        EXPECT_LT(took, 2500ms) << c.what;
        EXPECT_GE(took, 250ms) << c.what << ": it did wait for the server";
        EXPECT_EQ(fetched.opened, !c.response.empty()) << c.what << ": the headers had arrived";
    }
}

TEST(WinInetGivingUp, ThreadToldToCloseStartsNoFetch) {
    LoopbackHttpServer server("HTTP/1.1 200 OK\r\nContent-Length: 1\r\n\r\n1", false);
    WinInet inet;
    platform_windows::WindowsSystem system;
    bool opened = true;
    std::promise<void> posted;
    win::StartedThread started = system.CreateThread([&, go = posted.get_future().share()] {
        go.wait();
        opened = Fetch(inet, server.Url("/")).opened;
        opened = opened || Fetch(inet, server.Url("/")).opened;
    });
    EXPECT_TRUE(system.PostThreadMessage(started.id, win::WM_QUIT, 0, 0));
    posted.set_value();
    started.thread.join();
    EXPECT_FALSE(opened);
    EXPECT_EQ(server.LastRequest(), "");
}

}  // namespace
