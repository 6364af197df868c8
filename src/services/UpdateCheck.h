#pragma once
// The update check's pure parts and its fetch: what is asked of the server, and what its answer means.

#include <string>
#include <string_view>

#include "platform/inet/Inet.h"
#include "platform/system/System.h"

namespace services {

// The text FetchUrlText gives when anything on the way fails; being 5 bytes long it never announces.
inline constexpr std::string_view kFetchError = "Error";
// The only extra request header; its length counts the blank line that ends it.
inline constexpr std::string_view kAcceptHeaders = "Accept: */*\r\n\r\n";
inline constexpr win::DWORD kFetchFlags =
    win::INTERNET_FLAG_RELOAD | win::INTERNET_FLAG_NO_CACHE_WRITE | win::INTERNET_FLAG_PRAGMA_NOCACHE;
inline constexpr win::DWORD kReadPieceSize = 16384;
// What FetchUrlText keeps of a body at most; a longer one is cut there.
inline constexpr std::size_t kFetchBufferSize = 65536;

// "Agent" and the milliseconds since boot printed as a signed 32-bit number, so the name changes from
// run to run and turns negative after about 24.8 days of uptime.
std::string UserAgentFor(win::DWORD tickCount);

// The version file holds exactly three characters, a digit, a dot and a digit; any such version other than
// our own counts as news, older or newer. Anything else ("Error", a trailing line break, markup, stray
// bytes) is never shown.
bool ShouldAnnounce(std::string_view versionText, std::string_view currentVersion);

std::string AnnouncementText(std::string_view versionText);

// HTTP GET of url; the body (each piece up to its first NUL), or "Error" when anything fails or the final
// response is not a success (2xx).
std::string FetchUrlText(win::Inet& inet, win::System& system, std::string_view url);

}  // namespace services
