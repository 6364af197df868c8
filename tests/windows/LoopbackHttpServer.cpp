#include "LoopbackHttpServer.h"

#include <winsock2.h>

#include <mutex>
#include <thread>
#include <vector>

namespace testing_windows {
namespace {

struct Winsock {
    Winsock() {
        WSADATA data{};
        WSAStartup(MAKEWORD(2, 2), &data);
    }
    ~Winsock() { WSACleanup(); }
    Winsock(const Winsock&) = delete;
    Winsock& operator=(const Winsock&) = delete;
};

// A listening socket on 127.0.0.1 and a port the system picked.
SOCKET ListenOnLoopback(std::uint16_t& port) {
    SOCKET listener = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    int length = sizeof address;
    if (bind(listener, reinterpret_cast<sockaddr*>(&address), length) != 0 || listen(listener, 4) != 0 ||
        getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        closesocket(listener);
        return INVALID_SOCKET;
    }
    port = ntohs(address.sin_port);
    return listener;
}

std::string ReadRequestHead(SOCKET client) {
    std::string request;
    char piece[1024];
    while (request.find("\r\n\r\n") == std::string::npos) {
        const int n = recv(client, piece, sizeof piece, 0);
        if (n <= 0)
            break;
        request.append(piece, static_cast<std::size_t>(n));
    }
    return request;
}

}  // namespace

struct LoopbackHttpServer::State {
    Winsock winsock;
    std::string response;
    bool holdOpen = false;
    std::uint16_t port = 0;
    SOCKET listener = INVALID_SOCKET;
    mutable std::mutex mutex;
    std::string lastRequest;
    std::vector<SOCKET> held;
    std::thread thread;

    void Serve() {
        for (;;) {
            const SOCKET client = accept(listener, nullptr, nullptr);
            if (client == INVALID_SOCKET)
                return;
            {
                std::lock_guard lock(mutex);
                lastRequest = ReadRequestHead(client);
            }
            if (!response.empty())
                send(client, response.data(), static_cast<int>(response.size()), 0);
            std::lock_guard lock(mutex);
            if (holdOpen) {
                held.push_back(client);
            } else {
                shutdown(client, SD_SEND);
                closesocket(client);
            }
        }
    }
};

LoopbackHttpServer::LoopbackHttpServer(std::string response, bool holdOpen)
    : state_(std::make_unique<State>()) {
    state_->response = std::move(response);
    state_->holdOpen = holdOpen;
    state_->listener = ListenOnLoopback(state_->port);
    if (state_->listener != INVALID_SOCKET)
        state_->thread = std::thread([state = state_.get()] { state->Serve(); });
}

// Closing the listener ends the waiting accept.
LoopbackHttpServer::~LoopbackHttpServer() {
    closesocket(state_->listener);
    if (state_->thread.joinable())
        state_->thread.join();
    for (const SOCKET client : state_->held)
        closesocket(client);
}

std::string LoopbackHttpServer::Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(state_->port) + path;
}

std::string LoopbackHttpServer::LastRequest() const {
    std::lock_guard lock(state_->mutex);
    return state_->lastRequest;
}

std::string RefusedUrl() {
    Winsock winsock;
    std::uint16_t port = 0;
    closesocket(ListenOnLoopback(port));
    return "http://127.0.0.1:" + std::to_string(port) + "/version.txt";
}

}  // namespace testing_windows
