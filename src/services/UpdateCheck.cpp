#include "services/UpdateCheck.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <vector>

#include "res/Resource.h"
#include "res/StringTable.h"

namespace services {

namespace {

// Closes an internet handle when the fetch leaves, whichever way it leaves.
class InternetHandle {
  public:
    InternetHandle(win::Inet& inet, win::HINTERNET handle) : inet_(inet), handle_(handle) {}
    ~InternetHandle() {
        if (handle_ != nullptr)
            inet_.InternetCloseHandle(handle_);
    }
    InternetHandle(const InternetHandle&) = delete;
    InternetHandle& operator=(const InternetHandle&) = delete;
    win::HINTERNET get() const { return handle_; }

  private:
    win::Inet& inet_;
    win::HINTERNET handle_;
};

// Whether the response has a 2xx status; false when the status cannot be had.
bool IsSuccessStatus(win::Inet& inet, win::HINTERNET file) {
    win::DWORD status = 0;
    win::DWORD length = sizeof status;
    if (!inet.HttpQueryInfo(file, win::HTTP_QUERY_STATUS_CODE | win::HTTP_QUERY_FLAG_NUMBER, &status, &length,
                            nullptr))
        return false;
    return status >= 200 && status <= 299;
}

}  // namespace

std::string UserAgentFor(win::DWORD tickCount) {
    std::array<char, 64> agent{};
    std::snprintf(agent.data(), agent.size(), "Agent%ld",
                  static_cast<long>(static_cast<std::int32_t>(tickCount)));
    return agent.data();
}

bool ShouldAnnounce(std::string_view versionText, std::string_view currentVersion) {
    const auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    return versionText != currentVersion && versionText.size() == 3 && isDigit(versionText[0]) &&
           versionText[1] == '.' && isDigit(versionText[2]);
}

std::string AnnouncementText(std::string_view versionText) {
    return res::FormatString(res::IDS_NEW_VERSION, versionText);
}

std::string FetchUrlText(win::Inet& inet, win::System& system, std::string_view url) {
    win::DWORD connectionFlags = 0;
    inet.InternetGetConnectedState(&connectionFlags, 0);
    std::string body;

    // With a proxy in use the system's settings are taken whole; otherwise without proxy auto-detection.
    const win::DWORD accessType = (connectionFlags & win::INTERNET_CONNECTION_PROXY) != 0
                                      ? win::INTERNET_OPEN_TYPE_PRECONFIG
                                      : win::INTERNET_OPEN_TYPE_PRECONFIG_WITH_NO_AUTOPROXY;
    InternetHandle internet(inet,
                            inet.InternetOpen(UserAgentFor(system.GetTickCount()), accessType, "", "", 0));
    if (internet.get() == nullptr)
        return std::string(kFetchError);
    InternetHandle file(inet,
                        inet.InternetOpenUrl(internet.get(), url, kAcceptHeaders,
                                             static_cast<win::DWORD>(kAcceptHeaders.size()), kFetchFlags, 0));
    // An error page, a portal's login page or a proxy's refusal is no version file, whatever its body.
    if (file.get() == nullptr || !IsSuccessStatus(inet, file.get()))
        return std::string(kFetchError);

    // The body is read into one buffer's worth and no further: a version file is three bytes, and a
    // server (or a portal or proxy on the way) that sends without end must not fill the memory.
    std::vector<char> buffer(kFetchBufferSize, '\0');
    for (std::size_t total = 0; total < buffer.size();) {
        win::DWORD bytesRead = 0;
        if (!inet.InternetReadFile(file.get(), buffer.data(), kReadPieceSize, &bytesRead))
            return std::string(kFetchError);
        if (bytesRead == 0)
            break;
        // Each piece is appended as text: a NUL ends what it adds.
        const std::string_view piece(buffer.data(), std::min<std::size_t>(bytesRead, buffer.size() - total));
        total += piece.size();
        body += piece.substr(0, piece.find('\0'));
    }
    return body;
}

}  // namespace services
