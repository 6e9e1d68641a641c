#pragma once

#include "platform/HttpTypes.h"

#include <string>
#include <vector>

namespace zorlet {

// The process-wide cookie store, shared by every transfer (libcurl's cookie
// engine behind a share handle), so a cookie set by one response is sent with
// later requests to the same host and path, and never to another host.
class CookieStore {
public:
    static CookieStore& shared();

    std::vector<HttpCookie> cookies() const;
    // Cookies that a request to `url` would carry.
    std::vector<HttpCookie> cookiesForURL(const std::string& url) const;
    void setCookie(const HttpCookie& cookie);
    // Deletes every cookie that a request to `url` would carry.
    void deleteCookiesForURL(const std::string& url);
    void clearSessionCookies();
    void clearAll();

    // The libcurl share handle transfers attach to.
    void* shareHandle() const;

private:
    CookieStore();
    ~CookieStore();
    void replaceAll(const std::vector<HttpCookie>& cookies);
};

}  // namespace zorlet
