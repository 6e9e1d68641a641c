#pragma once

#include <string>
#include <utility>
#include <vector>

namespace zorlet::sandbox {

// What a handler answers: a status, a body and extra headers (cookies, redirects).
struct Reply {
    int status = 200;
    std::string contentType = "application/json;charset=UTF-8";
    std::string body;
    std::vector<std::pair<std::string, std::string>> headers;

    Reply& withHeader(std::string name, std::string value) {
        headers.emplace_back(std::move(name), std::move(value));
        return *this;
    }
};

}  // namespace zorlet::sandbox
