#pragma once
// Values chosen when the program is built (CMake cache variables), in GBK like all program text.

namespace res {

inline constexpr const char* kHomepageUrl = OSTRELLE_HOMEPAGE_URL;
inline constexpr const char* kVersionFileUrl = OSTRELLE_VERSION_FILE_URL;
inline constexpr const char* kAuthorName = OSTRELLE_AUTHOR_NAME;
inline constexpr const char* kAuthorMessengerNumber = OSTRELLE_MESSENGER_NUMBER;
inline constexpr const char* kAuthorMail = OSTRELLE_AUTHOR_MAIL;

// The contact links' targets.
inline constexpr const char* kMessengerLinkUrl =
    OSTRELLE_MESSENGER_LINK_BASE "?V=1&Uin=" OSTRELLE_MESSENGER_NUMBER "&Site=Ostrelle&Menu=yes";
inline constexpr const char* kMailLinkUrl = "mailto:" OSTRELLE_AUTHOR_MAIL;

}  // namespace res
