#include "platform/inet/linux/CurlInet.h"

#include <chrono>
#include <cstdlib>
#include <cstring>

#include "platform/inet/linux/CurlLibrary.h"
#include "platform/inet/linux/DirectConnection.h"
#include "platform/system/linux/LinuxSystem.h"

namespace platform_linux {

namespace {

// How long one wait for the network lasts before the thread's queue is looked at again.
constexpr int kPollMilliseconds = 50;
constexpr long kMaxRedirects = 20;

// True once the calling thread has been asked to close; the answer stays true for the thread's life,
// so a fetch that was told to stop does not start another transfer. A thread without a message queue
// cannot be asked.
bool CloseRequested() {
    thread_local bool closing = false;
    ThreadMessageQueue* queue = ThreadMessageQueue::Current();
    ThreadMessage message;
    while (queue != nullptr && queue->Peek(message)) {
        if (message.message == win::WM_CLOSE || message.message == win::WM_QUIT)
            closing = true;
    }
    return closing;
}

struct MultiTransfer {
    explicit MultiTransfer(std::chrono::milliseconds limit)
        : curl(LoadedCurl()),
          multi(curl != nullptr ? curl->multi_init() : nullptr),
          easy(curl != nullptr ? curl->easy_init() : nullptr),
          deadline(std::chrono::steady_clock::now() + limit) {
        // A name lookup cannot be stopped, and cleaning up after one still running would wait for it: a
        // resolver that does not answer would hold the closing program for tens of seconds. The lookup's
        // thread is left to end on its own instead.
        if (easy != nullptr)
            curl->easy_setopt(easy, CURLOPT_QUICK_EXIT, 1L);
    }
    ~MultiTransfer() {
        if (multi != nullptr && easy != nullptr && added)
            curl->multi_remove_handle(multi, easy);
        if (easy != nullptr)
            curl->easy_cleanup(easy);
        if (multi != nullptr)
            curl->multi_cleanup(multi);
        if (headerList != nullptr)
            curl->slist_free_all(headerList);
    }
    MultiTransfer(const MultiTransfer&) = delete;
    MultiTransfer& operator=(const MultiTransfer&) = delete;

    bool Start() {
        if (multi == nullptr || easy == nullptr)
            return false;
        added = curl->multi_add_handle(multi, easy) == CURLM_OK;
        return added;
    }

    // Runs the transfer until ready() holds or it has ended; false when the thread was asked to close.
    // A transfer past its deadline ends as timed out, however steadily the server is still sending.
    template <class Ready>
    bool RunUntil(Ready ready) {
        while (!ready() && !done) {
            if (CloseRequested())
                return false;
            if (std::chrono::steady_clock::now() >= deadline) {
                done = true;
                result = CURLE_OPERATION_TIMEDOUT;
                break;
            }
            int running = 0;
            if (curl->multi_perform(multi, &running) != CURLM_OK) {
                done = true;
                result = CURLE_FAILED_INIT;
                break;
            }
            int left = 0;
            while (CURLMsg* message = curl->multi_info_read(multi, &left)) {
                if (message->msg == CURLMSG_DONE) {
                    done = true;
                    result = message->data.result;
                }
            }
            if (ready() || done)
                break;
            curl->multi_poll(multi, nullptr, 0, kPollMilliseconds, nullptr);
        }
        return true;
    }

    const CurlCalls* curl;
    CURLM* multi;
    CURL* easy;
    std::chrono::steady_clock::time_point deadline;
    curl_slist* headerList = nullptr;
    bool added = false;
    bool done = false;
    CURLcode result = CURLE_OK;
};

}  // namespace

struct CurlInet::Handle {
    virtual ~Handle() = default;
};

namespace {

struct Session : CurlInet::Handle {
    std::string agent;
    win::DWORD accessType = win::INTERNET_OPEN_TYPE_PRECONFIG;
};

struct Request : CurlInet::Handle {
    explicit Request(std::chrono::milliseconds limit) : transfer(limit) {}

    MultiTransfer transfer;
    std::string body;  // received; the bytes from readOffset on are not yet read
    std::size_t readOffset = 0;
    bool paused = false;
    bool aborted = false;

    std::size_t Available() const { return body.size() - readOffset; }

    // A paused transfer reads nothing more from the socket; libcurl hands the piece it held back to
    // CollectBody once it is resumed.
    void ResumeWhenRead() {
        if (paused && Available() == 0) {
            paused = false;
            transfer.curl->easy_pause(transfer.easy, CURLPAUSE_CONT);
        }
    }
};

// Keeps at most kMaxHeldBody unread bytes: a server that sends without end must not fill the memory
// while the reader takes its time, or stops reading.
std::size_t CollectBody(char* data, std::size_t size, std::size_t count, void* user) {
    auto* request = static_cast<Request*>(user);
    const std::size_t length = size * count;
    request->body.erase(0, request->readOffset);
    request->readOffset = 0;
    if (!request->body.empty() && request->body.size() + length > CurlInet::kMaxHeldBody) {
        request->paused = true;
        return CURL_WRITEFUNC_PAUSE;
    }
    request->body.append(data, length);
    return length;
}

bool IsSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

}  // namespace

std::vector<std::string> RequestHeaderLines(std::string_view headers, win::DWORD headersLength,
                                            win::DWORD flags) {
    std::vector<std::string> lines;
    std::string_view rest = headers.substr(0, std::min<std::size_t>(headersLength, headers.size()));
    while (!rest.empty()) {
        const std::size_t end = rest.find("\r\n");
        std::string_view line = rest.substr(0, end);
        if (!line.empty())
            lines.emplace_back(line);
        rest = end == std::string_view::npos ? std::string_view() : rest.substr(end + 2);
    }
    if ((flags & win::INTERNET_FLAG_PRAGMA_NOCACHE) != 0)
        lines.emplace_back("Pragma: no-cache");
    if ((flags & win::INTERNET_FLAG_RELOAD) != 0)
        lines.emplace_back("Cache-Control: no-cache");
    return lines;
}

bool EnvironmentHasProxy() {
    return IsSet("http_proxy") || IsSet("all_proxy") || IsSet("ALL_PROXY");
}

CurlInet::CurlInet(std::chrono::milliseconds transferLimit) : transferLimit_(transferLimit) {}

CurlInet::~CurlInet() {
    handles_.clear();
}

win::HINTERNET CurlInet::Adopt(std::unique_ptr<Handle> handle) {
    auto key = reinterpret_cast<win::HINTERNET>(handle.get());
    std::lock_guard lock(mutex_);
    handles_[key] = std::move(handle);
    return key;
}

template <class T>
T* CurlInet::Find(win::HINTERNET handle) {
    std::lock_guard lock(mutex_);
    auto it = handles_.find(handle);
    return it == handles_.end() ? nullptr : dynamic_cast<T*>(it->second.get());
}

bool CurlInet::InternetCheckConnection(std::string_view url, win::DWORD, win::DWORD) {
    // A plain connection to the server itself, whatever proxy is configured: the question is whether the
    // server can be reached at all.
    const auto target = TargetOfUrl(url);
    return target.has_value() && ConnectDirectly(*target, std::chrono::steady_clock::now() + transferLimit_,
                                                 [] { return CloseRequested(); });
}

bool CurlInet::InternetGetConnectedState(win::DWORD* flags, win::DWORD) {
    if (flags != nullptr) {
        *flags = win::INTERNET_CONNECTION_LAN | (EnvironmentHasProxy() ? win::INTERNET_CONNECTION_PROXY : 0);
    }
    return true;
}

win::HINTERNET CurlInet::InternetOpen(std::string_view agent, win::DWORD accessType, std::string_view,
                                      std::string_view, win::DWORD) {
    auto session = std::make_unique<Session>();
    session->agent = std::string(agent);
    session->accessType = accessType;
    return Adopt(std::move(session));
}

win::HINTERNET CurlInet::InternetOpenUrl(win::HINTERNET internet, std::string_view url,
                                         std::string_view headers, win::DWORD headersLength, win::DWORD flags,
                                         std::uintptr_t) {
    auto* session = Find<Session>(internet);
    if (session == nullptr || CloseRequested())
        return nullptr;
    auto request = std::make_unique<Request>(transferLimit_);
    CURL* easy = request->transfer.easy;
    if (easy == nullptr)
        return nullptr;
    const CurlCalls& curl = *request->transfer.curl;
    const std::string target(url);
    curl.easy_setopt(easy, CURLOPT_URL, target.c_str());
    curl.easy_setopt(easy, CURLOPT_USERAGENT, session->agent.c_str());
    curl.easy_setopt(easy, CURLOPT_HTTPGET, 1L);
    curl.easy_setopt(easy, CURLOPT_NOSIGNAL, 1L);
    curl.easy_setopt(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    curl.easy_setopt(easy, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    if ((flags & win::INTERNET_FLAG_NO_AUTO_REDIRECT) == 0) {
        curl.easy_setopt(easy, CURLOPT_FOLLOWLOCATION, 1L);
        curl.easy_setopt(easy, CURLOPT_MAXREDIRS, kMaxRedirects);
    }
    // Without a proxy option libcurl takes the proxy from the environment, which is what both
    // preconfigured access types mean here; only a direct session refuses it.
    if (session->accessType == win::INTERNET_OPEN_TYPE_DIRECT)
        curl.easy_setopt(easy, CURLOPT_PROXY, "");
    for (const std::string& line : RequestHeaderLines(headers, headersLength, flags)) {
        request->transfer.headerList = curl.slist_append(request->transfer.headerList, line.c_str());
    }
    curl.easy_setopt(easy, CURLOPT_HTTPHEADER, request->transfer.headerList);
    curl.easy_setopt(easy, CURLOPT_WRITEFUNCTION, &CollectBody);
    curl.easy_setopt(easy, CURLOPT_WRITEDATA, request.get());
    if (!request->transfer.Start())
        return nullptr;

    // Like InternetOpenUrl, return once the server has started to answer.
    Request& r = *request;
    if (!r.transfer.RunUntil([&r] { return r.Available() > 0; }))
        return nullptr;
    if (r.transfer.done && r.transfer.result != CURLE_OK && r.Available() == 0)
        return nullptr;
    return Adopt(std::move(request));
}

bool CurlInet::InternetReadFile(win::HINTERNET file, void* buffer, win::DWORD bytesToRead,
                                win::DWORD* bytesRead) {
    auto* request = Find<Request>(file);
    if (request == nullptr || bytesRead == nullptr || request->aborted)
        return false;
    *bytesRead = 0;
    Request& r = *request;
    r.ResumeWhenRead();
    if (!r.transfer.RunUntil([&r] { return r.Available() > 0; })) {
        r.aborted = true;
        return false;
    }
    if (r.Available() > 0) {
        const std::size_t n = std::min<std::size_t>(bytesToRead, r.Available());
        std::memcpy(buffer, r.body.data() + r.readOffset, n);
        r.readOffset += n;
        *bytesRead = static_cast<win::DWORD>(n);
        return true;
    }
    return r.transfer.result == CURLE_OK;
}

bool CurlInet::HttpQueryInfo(win::HINTERNET file, win::DWORD infoLevel, void* buffer,
                             win::DWORD* bufferLength, win::DWORD*) {
    auto* request = Find<Request>(file);
    if (request == nullptr || infoLevel != (win::HTTP_QUERY_STATUS_CODE | win::HTTP_QUERY_FLAG_NUMBER) ||
        buffer == nullptr || bufferLength == nullptr || *bufferLength < sizeof(win::DWORD))
        return false;
    long status = 0;
    if (request->transfer.curl->easy_getinfo(request->transfer.easy, CURLINFO_RESPONSE_CODE, &status) !=
            CURLE_OK ||
        status <= 0)
        return false;
    const auto code = static_cast<win::DWORD>(status);
    std::memcpy(buffer, &code, sizeof code);
    *bufferLength = sizeof code;
    return true;
}

std::size_t CurlInet::HeldBodyBytes(win::HINTERNET file) {
    const auto* request = Find<Request>(file);
    return request == nullptr ? 0 : request->body.size();
}

bool CurlInet::InternetCloseHandle(win::HINTERNET handle) {
    std::unique_ptr<Handle> closed;
    std::lock_guard lock(mutex_);
    auto it = handles_.find(handle);
    if (it == handles_.end())
        return false;
    closed = std::move(it->second);
    handles_.erase(it);
    return true;
}

}  // namespace platform_linux
