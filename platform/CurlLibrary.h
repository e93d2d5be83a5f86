#pragma once

#include <QString>
#include <curl/curl.h>

namespace platform {

// libcurl, loaded when the first request is made rather than when the program starts: it and
// the libraries it needs (TLS, SSH, LDAP, Kerberos) took about 10 ms of every start, though the
// program uses them only for the update check, on its own thread, and not at all with the
// check turned off.
struct CurlLibrary {
    CURLcode (*global_init)(long flags) = nullptr;
    CURL* (*easy_init)() = nullptr;
    void (*easy_reset)(CURL* curl) = nullptr;
    CURLcode (*easy_setopt)(CURL* curl, CURLoption option, ...) = nullptr;
    CURLcode (*easy_perform)(CURL* curl) = nullptr;
    CURLcode (*easy_getinfo)(CURL* curl, CURLINFO info, ...) = nullptr;
    const char* (*easy_strerror)(CURLcode code) = nullptr;
    void (*easy_cleanup)(CURL* curl) = nullptr;
    curl_slist* (*slist_append)(curl_slist* list, const char* text) = nullptr;
    void (*slist_free_all)(curl_slist* list) = nullptr;

    // Loads the library and runs its global set-up, once, from whichever thread asks first;
    // none when it cannot be loaded, with the reason in error.
    static const CurlLibrary* Get(QString* error = nullptr);
};

} // namespace platform
