#pragma once

#include <string>

namespace zorlet {

// Where the service lives. The base URL (scheme, host and port) is
// configuration: the sandbox on loopback by default, any server with --api.
class UrlUtils {
public:
    // base + "/" + uri; the uri may already carry a query.
    static std::string urlStringWithUri(const std::string& uri);

    static void setBaseUrl(std::string baseUrl);
    static std::string baseUrl();
    // The API host name, as reachability checks it.
    static std::string apiHost();
    // Web pages (idea pages) live on this base; the API base unless set.
    static void setWebBaseUrl(std::string webBaseUrl);
    static std::string webBaseUrl();
};

}  // namespace zorlet
