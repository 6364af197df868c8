#pragma once
// A small HTTP server on 127.0.0.1 for the update check's tests. It serves one connection at a time, records
// every request it reads and answers as the test's handler says: the response in pieces sent one by one,
// or no answer at all until the server stops. Connections that close without a request (a connection
// test) are not recorded.

#include <chrono>
#include <condition_variable>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace testing_http {

struct Response {
    std::vector<std::string> pieces;  // written with one send each; the connection closes after the last
    bool neverAnswer = false;
    // Sent again and again after the pieces, foreverPause apart, until the client or the server stops.
    std::string forever;
    std::chrono::milliseconds foreverPause{0};
};

// "HTTP/1.1 <status>" with a closing connection and body, the body in the given pieces.
Response MakeResponse(std::string_view status, const std::vector<std::string>& bodyPieces,
                      std::string_view extraHeaders = "");

struct Request {
    std::string path;
    std::string text;  // request line and headers
    // The value of a header, case-insensitive name; empty when absent.
    std::string Header(std::string_view name) const;
};

class LoopbackHttpServer {
  public:
    using Handler = std::function<Response(const Request&)>;

    explicit LoopbackHttpServer(Handler handler);
    ~LoopbackHttpServer();
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    int Port() const { return port_; }
    std::string Url(std::string_view path) const;
    std::vector<Request> Requests() const;
    // Waits until count requests have arrived; false after a generous bound, so a broken test fails
    // instead of hanging.
    bool WaitForRequests(std::size_t count) const;

  private:
    void Serve();
    bool Wait(int fd) const;  // false when the server is stopping
    void SendForever(int connection, const Response& response) const;
    void Handle(int connection);

    Handler handler_;
    int listener_ = -1;
    int stopPipe_[2] = {-1, -1};
    int port_ = 0;
    mutable std::mutex mutex_;
    mutable std::condition_variable arrived_;
    std::vector<Request> requests_;
    std::thread thread_;
};

// A port on 127.0.0.1 that nothing listens on.
int UnusedLoopbackPort();

}  // namespace testing_http
