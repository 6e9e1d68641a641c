#pragma once

#include <httplib.h>

#include <optional>
#include <string>

namespace zorlet::sandbox {

// The parameters of one call wherever the client put them: the query, a
// URL-encoded form body, or the text fields of a multipart body.
class RequestParams {
public:
    explicit RequestParams(const httplib::Request& request) : request_(request) {}

    std::optional<std::string> text(const std::string& name) const;
    bool has(const std::string& name) const { return text(name).has_value(); }
    // A file part (one with a file name), or nothing.
    const httplib::MultipartFormData* file(const std::string& name) const;
    // False when any name or text value is not UTF-8.
    bool allTextIsUtf8() const;
    // The longest text value in bytes, to turn away absurd inputs before parsing them.
    size_t longestText() const;

private:
    const httplib::Request& request_;
};

}  // namespace zorlet::sandbox
