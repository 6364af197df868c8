#pragma once
// The update check's first question, whether the version file's server can be reached at all, answered
// the way the check asks it: a plain TCP connection to the URL's host and port, whatever proxy is
// configured, with nothing sent. It needs no HTTP library, so the program's start does not wait for one.

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace platform_linux {

struct ConnectionTarget {
    std::string host;  // a name, or an address (IPv6 without its brackets)
    std::string port;

    bool operator==(const ConnectionTarget&) const = default;
};

// The host and port of an http or https URL ("http://user@[2001:db8::1]:8080/path" gives 2001:db8::1 and
// 8080; no port gives the scheme's); nothing for any other scheme or a URL without a host.
std::optional<ConnectionTarget> TargetOfUrl(std::string_view url);

// Tries the target's addresses in turn until one accepts a connection. Gives up at the deadline, or as soon
// as stopRequested() holds, which is asked between short waits. A name lookup cannot be stopped: one still
// running is left to end on its own thread.
bool ConnectDirectly(const ConnectionTarget& target, std::chrono::steady_clock::time_point deadline,
                     const std::function<bool()>& stopRequested);

}  // namespace platform_linux
