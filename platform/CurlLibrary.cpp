#include "platform/CurlLibrary.h"

#include <dlfcn.h>
#include <mutex>

namespace platform {

namespace {

struct Loaded {
    CurlLibrary functions;
    bool ok = false;
    QString error;
};

template <typename Function> bool resolve(void* library, const char* name, Function& function) {
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
}

Loaded load() {
    Loaded loaded;
    // Kept loaded until the program ends: its global state outlives every client.
    void* library = dlopen("libcurl.so.4", RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        loaded.error = QString::fromLocal8Bit(dlerror());
        return loaded;
    }
    CurlLibrary& f = loaded.functions;
    const bool all = resolve(library, "curl_global_init", f.global_init) &&
                     resolve(library, "curl_easy_init", f.easy_init) &&
                     resolve(library, "curl_easy_reset", f.easy_reset) &&
                     resolve(library, "curl_easy_setopt", f.easy_setopt) &&
                     resolve(library, "curl_easy_perform", f.easy_perform) &&
                     resolve(library, "curl_easy_getinfo", f.easy_getinfo) &&
                     resolve(library, "curl_easy_strerror", f.easy_strerror) &&
                     resolve(library, "curl_easy_cleanup", f.easy_cleanup) &&
                     resolve(library, "curl_slist_append", f.slist_append) &&
                     resolve(library, "curl_slist_free_all", f.slist_free_all);
    if (!all) {
        loaded.error = QStringLiteral("libcurl.so.4 lacks a function this program needs");
        return loaded;
    }
    // Thread-safe in the libcurl Debian 12 has (7.84 and later), and run once in any case.
    if (f.global_init(CURL_GLOBAL_DEFAULT) != CURLE_OK) {
        loaded.error = QStringLiteral("libcurl could not be set up");
        return loaded;
    }
    loaded.ok = true;
    return loaded;
}

} // namespace

const CurlLibrary* CurlLibrary::Get(QString* error) {
    static std::once_flag once;
    static Loaded loaded;
    std::call_once(once, [] { loaded = load(); });
    if (!loaded.ok) {
        if (error)
            *error = loaded.error;
        return nullptr;
    }
    return &loaded.functions;
}

} // namespace platform
