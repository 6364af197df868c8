#pragma once
// libcurl, loaded the first time the update check fetches rather than with the program. It and the TLS,
// Kerberos, LDAP and SSH libraries it pulls in are two dozen objects to map and relocate, and their
// global set-up to run, before the first window could be drawn; only the update check's worker uses them.
// Once loaded it stays for the process's life: a name lookup libcurl left to end on its own may still be
// running in its thread.

#include <curl/curl.h>

namespace platform_linux {

// The calls the HTTP client makes, resolved from the loaded library.
struct CurlCalls {
    decltype(&curl_easy_init) easy_init;
    decltype(&curl_easy_setopt) easy_setopt;
    decltype(&curl_easy_getinfo) easy_getinfo;
    decltype(&curl_easy_pause) easy_pause;
    decltype(&curl_easy_cleanup) easy_cleanup;
    decltype(&curl_multi_init) multi_init;
    decltype(&curl_multi_add_handle) multi_add_handle;
    decltype(&curl_multi_remove_handle) multi_remove_handle;
    decltype(&curl_multi_perform) multi_perform;
    decltype(&curl_multi_info_read) multi_info_read;
    decltype(&curl_multi_poll) multi_poll;
    decltype(&curl_multi_cleanup) multi_cleanup;
    decltype(&curl_slist_append) slist_append;
    decltype(&curl_slist_free_all) slist_free_all;
};

// The library's calls, loaded and globally initialised on the first call from any thread; nothing when
// libcurl cannot be loaded or lacks one of them, which the caller treats as no network.
const CurlCalls* LoadedCurl();

}  // namespace platform_linux
