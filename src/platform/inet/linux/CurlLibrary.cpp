#include "platform/inet/linux/CurlLibrary.h"

#include <dlfcn.h>

namespace platform_linux {

namespace {

// The soname of the library's ABI, the one the headers we compile against describe.
constexpr const char* kCurlLibrary = "libcurl.so.4";

template <typename Call>
bool Resolve(void* library, const char* name, Call& call) {
    call = reinterpret_cast<Call>(::dlsym(library, name));
    return call != nullptr;
}

bool ResolveAll(void* library, CurlCalls& calls) {
    return Resolve(library, "curl_easy_init", calls.easy_init) &&
           Resolve(library, "curl_easy_setopt", calls.easy_setopt) &&
           Resolve(library, "curl_easy_getinfo", calls.easy_getinfo) &&
           Resolve(library, "curl_easy_pause", calls.easy_pause) &&
           Resolve(library, "curl_easy_cleanup", calls.easy_cleanup) &&
           Resolve(library, "curl_multi_init", calls.multi_init) &&
           Resolve(library, "curl_multi_add_handle", calls.multi_add_handle) &&
           Resolve(library, "curl_multi_remove_handle", calls.multi_remove_handle) &&
           Resolve(library, "curl_multi_perform", calls.multi_perform) &&
           Resolve(library, "curl_multi_info_read", calls.multi_info_read) &&
           Resolve(library, "curl_multi_poll", calls.multi_poll) &&
           Resolve(library, "curl_multi_cleanup", calls.multi_cleanup) &&
           Resolve(library, "curl_slist_append", calls.slist_append) &&
           Resolve(library, "curl_slist_free_all", calls.slist_free_all);
}

const CurlCalls* Load() {
    // RTLD_LOCAL keeps its symbols, and those of what it pulls in, out of the lookups of every later call
    // the program binds.
    void* library = ::dlopen(kCurlLibrary, RTLD_NOW | RTLD_LOCAL);
    if (library == nullptr)
        return nullptr;
    static CurlCalls calls{};
    using GlobalInit = decltype(&curl_global_init);
    GlobalInit globalInit = nullptr;
    if (!ResolveAll(library, calls) || !Resolve(library, "curl_global_init", globalInit) ||
        globalInit(CURL_GLOBAL_DEFAULT) != CURLE_OK) {
        ::dlclose(library);
        return nullptr;
    }
    return &calls;
}

}  // namespace

const CurlCalls* LoadedCurl() {
    static const CurlCalls* const loaded = Load();
    return loaded;
}

}  // namespace platform_linux
