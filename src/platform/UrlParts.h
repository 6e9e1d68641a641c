#pragma once

#include <optional>
#include <string>

namespace zorlet {

// The pieces of an absolute URL, as libcurl's URL parser reads them.
struct UrlParts {
    std::string scheme;
    std::string host;
    int port = 0;
    std::string path;   // "/" when absent
    std::string query;  // without "?"
    std::string fragment;

    static std::optional<UrlParts> parse(const std::string& url);
    // Resolves `reference` (absolute, or relative like a Location header) against `base`.
    static std::string resolve(const std::string& base, const std::string& reference);
};

}  // namespace zorlet
