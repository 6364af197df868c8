#pragma once
// The HTTP calls of tests: answers as the test chose and records what was asked. Without setup the server
// cannot be reached, so the update check ends at once.

#include <cstring>
#include <string>
#include <vector>

#include "platform/inet/Inet.h"

namespace fakes {

class FakeInet : public win::Inet {
  public:
    bool InternetCheckConnection(std::string_view url, win::DWORD flags, win::DWORD) override {
        checkedUrl = std::string(url);
        checkFlags = flags;
        return reachable;
    }
    bool InternetGetConnectedState(win::DWORD* flags, win::DWORD) override {
        *flags = connectedFlags;
        return true;
    }
    win::HINTERNET InternetOpen(std::string_view agentText, win::DWORD access, std::string_view,
                                std::string_view, win::DWORD) override {
        agent = std::string(agentText);
        accessType = access;
        if (failOpen)
            return nullptr;
        ++openHandles;
        return Handle(1);
    }
    win::HINTERNET InternetOpenUrl(win::HINTERNET internet, std::string_view urlText,
                                   std::string_view headerText, win::DWORD headerLength, win::DWORD flags,
                                   std::uintptr_t) override {
        sessionPassed = internet == Handle(1);
        url = std::string(urlText);
        headers = std::string(headerText.substr(0, headerLength));
        urlFlags = flags;
        if (failOpenUrl)
            return nullptr;
        ++openHandles;
        return Handle(2);
    }
    bool InternetReadFile(win::HINTERNET file, void* buffer, win::DWORD bytesToRead,
                          win::DWORD* bytesRead) override {
        readSizes.push_back(bytesToRead);
        *bytesRead = 0;
        if (file != Handle(2) || static_cast<int>(readSizes.size()) - 1 == failReadAt)
            return false;
        if (nextPiece < pieces.size()) {
            const std::string& piece = pieces[nextPiece++];
            const std::size_t n = std::min<std::size_t>(piece.size(), bytesToRead);
            piece.copy(static_cast<char*>(buffer), n);
            *bytesRead = static_cast<win::DWORD>(n);
        }
        return true;
    }
    bool HttpQueryInfo(win::HINTERNET file, win::DWORD infoLevel, void* buffer, win::DWORD* bufferLength,
                       win::DWORD*) override {
        queriedInfo = infoLevel;
        if (file != Handle(2) || !statusKnown || *bufferLength < sizeof statusCode)
            return false;
        std::memcpy(buffer, &statusCode, sizeof statusCode);
        *bufferLength = sizeof statusCode;
        return true;
    }
    bool InternetCloseHandle(win::HINTERNET handle) override {
        closed.emplace_back(handle == Handle(2) ? "url" : handle == Handle(1) ? "internet" : "unknown");
        --openHandles;
        return true;
    }

    // The test's side.
    bool reachable = false;
    win::DWORD connectedFlags = win::INTERNET_CONNECTION_LAN;
    bool failOpen = false;
    bool failOpenUrl = false;
    std::vector<std::string> pieces;  // one per read
    int failReadAt = -1;              // the index of a read that fails
    win::DWORD statusCode = 200;
    bool statusKnown = true;

    std::string checkedUrl;
    win::DWORD checkFlags = 0;
    std::string agent;
    win::DWORD accessType = 99;
    bool sessionPassed = false;
    std::string url;
    std::string headers;
    win::DWORD urlFlags = 0;
    win::DWORD queriedInfo = 0;
    std::vector<win::DWORD> readSizes;
    std::vector<std::string> closed;
    int openHandles = 0;

  private:
    static win::HINTERNET Handle(std::uintptr_t n) { return reinterpret_cast<win::HINTERNET>(n); }
    std::size_t nextPiece = 0;
};

}  // namespace fakes
