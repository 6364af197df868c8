#pragma once
// Values chosen when the program is built (CMake cache variables), in GBK like all program text.

#include <string>
#include <string_view>

namespace res {

namespace detail {
// The configured address may be written with or without its final slash.
constexpr std::string_view WithoutFinalSlash(std::string_view url) {
    return !url.empty() && url.back() == '/' ? url.substr(0, url.size() - 1) : url;
}
}  // namespace detail

// The product's homepage, the root of its web server, as the contact link and the About box name it:
// without a final slash. The update check opens the same root with one.
inline constexpr std::string_view kHomepageUrl = detail::WithoutFinalSlash(OSTRELLE_HOMEPAGE_URL);
inline std::string UpdateCheckHomepageUrl() {
    return std::string(kHomepageUrl) + "/";
}
inline constexpr const char* kVersionFileUrl = OSTRELLE_VERSION_FILE_URL;
inline constexpr const char* kAuthorName = OSTRELLE_AUTHOR_NAME;
inline constexpr const char* kAuthorMessengerNumber = OSTRELLE_MESSENGER_NUMBER;
inline constexpr const char* kAuthorMail = OSTRELLE_AUTHOR_MAIL;

// The contact links' targets.
inline constexpr const char* kMessengerLinkUrl =
    OSTRELLE_MESSENGER_LINK_BASE "?V=1&Uin=" OSTRELLE_MESSENGER_NUMBER "&Site=Ostrelle&Menu=yes";
inline constexpr const char* kMailLinkUrl = "mailto:" OSTRELLE_AUTHOR_MAIL;

}  // namespace res
