#include "LoopbackHttpServer.h"

#include <arpa/inet.h>
#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cctype>
#include <cerrno>
#include <chrono>

namespace testing_http {

namespace {

int BindLoopback(int& port) {
    const int fd = ::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    if (fd < 0 || ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0)
        return -1;
    socklen_t length = sizeof address;
    ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length);
    port = ntohs(address.sin_port);
    return fd;
}

std::string Lower(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return out;
}

}  // namespace

Response MakeResponse(std::string_view status, const std::vector<std::string>& bodyPieces,
                      std::string_view extraHeaders) {
    Response response;
    response.pieces.push_back("HTTP/1.1 " + std::string(status) + "\r\nConnection: close\r\n" +
                              std::string(extraHeaders) + "\r\n");
    for (const std::string& piece : bodyPieces)
        response.pieces.push_back(piece);
    return response;
}

std::string Request::Header(std::string_view name) const {
    const std::string wanted = Lower(name) + ":";
    std::size_t start = text.find("\r\n");
    while (start != std::string::npos && start + 2 < text.size()) {
        const std::size_t end = text.find("\r\n", start + 2);
        const std::string line = text.substr(start + 2, end - start - 2);
        if (Lower(line).rfind(wanted, 0) == 0) {
            std::string value = line.substr(wanted.size());
            while (!value.empty() && value.front() == ' ')
                value.erase(0, 1);
            return value;
        }
        start = end;
    }
    return "";
}

LoopbackHttpServer::LoopbackHttpServer(Handler handler) : handler_(std::move(handler)) {
    listener_ = BindLoopback(port_);
    ::listen(listener_, 8);
    ::pipe2(stopPipe_, O_CLOEXEC);
    thread_ = std::thread([this] { Serve(); });
}

LoopbackHttpServer::~LoopbackHttpServer() {
    const char stop = 's';
    (void)::write(stopPipe_[1], &stop, 1);
    thread_.join();
    ::close(listener_);
    ::close(stopPipe_[0]);
    ::close(stopPipe_[1]);
}

std::string LoopbackHttpServer::Url(std::string_view path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + std::string(path);
}

std::vector<Request> LoopbackHttpServer::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

bool LoopbackHttpServer::WaitForRequests(std::size_t count) const {
    std::unique_lock lock(mutex_);
    return arrived_.wait_for(lock, std::chrono::seconds(30), [&] { return requests_.size() >= count; });
}

bool LoopbackHttpServer::Wait(int fd) const {
    pollfd fds[2] = {{fd, POLLIN, 0}, {stopPipe_[0], POLLIN, 0}};
    while (::poll(fds, 2, -1) < 0) {
    }
    return (fds[1].revents & POLLIN) == 0;
}

void LoopbackHttpServer::Serve() {
    while (Wait(listener_)) {
        const int connection = ::accept4(listener_, nullptr, nullptr, SOCK_CLOEXEC);
        if (connection < 0)
            continue;
        Handle(connection);
        ::close(connection);
    }
}

void LoopbackHttpServer::Handle(int connection) {
    std::string text;
    char buffer[4096];
    while (text.find("\r\n\r\n") == std::string::npos) {
        if (!Wait(connection))
            return;
        const ssize_t n = ::recv(connection, buffer, sizeof buffer, 0);
        if (n <= 0)
            return;
        text.append(buffer, static_cast<std::size_t>(n));
    }
    Request request;
    request.text = text.substr(0, text.find("\r\n\r\n") + 2);
    const std::size_t pathStart = text.find(' ') + 1;
    request.path = text.substr(pathStart, text.find(' ', pathStart) - pathStart);
    const Response response = handler_(request);
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
    }
    arrived_.notify_all();
    if (response.neverAnswer) {
        // Held open without a word until the client gives up or the server stops.
        while (Wait(connection) && ::recv(connection, buffer, sizeof buffer, 0) > 0) {
        }
        return;
    }
    for (const std::string& piece : response.pieces) {
        if (::send(connection, piece.data(), piece.size(), MSG_NOSIGNAL) < 0)
            return;
    }
    if (!response.forever.empty())
        SendForever(connection, response);
}

void LoopbackHttpServer::SendForever(int connection, const Response& response) const {
    for (;;) {
        pollfd fds[2] = {{connection, POLLOUT, 0}, {stopPipe_[0], POLLIN, 0}};
        if (::poll(&fds[1], 1, static_cast<int>(response.foreverPause.count())) != 0)
            return;
        while (::poll(fds, 2, -1) < 0) {
        }
        if ((fds[1].revents & POLLIN) != 0)
            return;
        // Without blocking, so a client that stops reading cannot keep the server from stopping.
        const ssize_t sent =
            ::send(connection, response.forever.data(), response.forever.size(), MSG_NOSIGNAL | MSG_DONTWAIT);
        if (sent < 0 && errno != EAGAIN && errno != EWOULDBLOCK)
            return;
    }
}

int UnusedLoopbackPort() {
    int port = 0;
    const int fd = BindLoopback(port);
    ::close(fd);
    return port;
}

}  // namespace testing_http
