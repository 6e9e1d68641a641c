#pragma once

#include <map>
#include <optional>
#include <string>
#include <vector>

namespace zorlet {

struct CaseInsensitiveLess {
    bool operator()(const std::string& a, const std::string& b) const;
};

// Header names compare case-insensitively; a name may repeat (Set-Cookie).
using HttpHeaders = std::multimap<std::string, std::string, CaseInsensitiveLess>;

struct HttpCookie {
    std::string name;
    std::string value;
    std::string domain;  // host name, without a leading dot for host-only cookies
    std::string path = "/";
    bool secure = false;
    bool httpOnly = false;
    bool includeSubdomains = false;
    std::optional<long long> expires;  // seconds since the epoch; none = session cookie
};

struct HttpFilePart {
    std::string key;
    std::string fileName;
    std::string contentType;
    std::string data;
};

enum class HttpErrorKind {
    ConnectionFailure,  // could not connect, connection dropped, DNS failure
    TimedOut,
    Cancelled,
    HttpStatus,  // the server answered with a status the transport treats as failure (401)
    Invalid,     // malformed URL or request
};

struct HttpError {
    HttpErrorKind kind;
    std::string message;
};

}  // namespace zorlet
