#pragma once
// A one-thread HTTP server on 127.0.0.1 for the WinINet tests: it answers every request with the same
// bytes, then closes the connection, or holds it open until the server is destroyed.

#include <cstdint>
#include <memory>
#include <string>

namespace testing_windows {

class LoopbackHttpServer {
  public:
    // response is sent as it stands once a request's headers have arrived; empty sends nothing.
    LoopbackHttpServer(std::string response, bool holdOpen);
    ~LoopbackHttpServer();
    LoopbackHttpServer(const LoopbackHttpServer&) = delete;
    LoopbackHttpServer& operator=(const LoopbackHttpServer&) = delete;

    std::string Url(const std::string& path) const;
    // The last request's bytes up to and including its empty line.
    std::string LastRequest() const;

    struct State;

  private:
    std::unique_ptr<State> state_;
};

// A loopback URL on a port nobody listens on.
std::string RefusedUrl();

}  // namespace testing_windows
