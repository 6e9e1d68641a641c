#include "sandbox/RequestParams.h"

#include "platform/UnicodeText.h"

#include <algorithm>

namespace zorlet::sandbox {

std::optional<std::string> RequestParams::text(const std::string& name) const {
    auto param = request_.params.find(name);
    if (param != request_.params.end()) {
        return param->second;
    }
    auto [begin, end] = request_.files.equal_range(name);
    for (auto it = begin; it != end; ++it) {
        if (it->second.filename.empty()) {
            return it->second.content;
        }
    }
    return std::nullopt;
}

const httplib::MultipartFormData* RequestParams::file(const std::string& name) const {
    auto [begin, end] = request_.files.equal_range(name);
    for (auto it = begin; it != end; ++it) {
        if (!it->second.filename.empty()) {
            return &it->second;
        }
    }
    return nullptr;
}

bool RequestParams::allTextIsUtf8() const {
    for (const auto& [name, value] : request_.params) {
        if (!UnicodeText::isValidUtf8(name) || !UnicodeText::isValidUtf8(value)) {
            return false;
        }
    }
    for (const auto& [name, part] : request_.files) {
        if (!UnicodeText::isValidUtf8(name)) {
            return false;
        }
        if (part.filename.empty() && !UnicodeText::isValidUtf8(part.content)) {
            return false;
        }
    }
    return true;
}

size_t RequestParams::longestText() const {
    size_t longest = 0;
    for (const auto& [name, value] : request_.params) {
        longest = std::max(longest, value.size());
    }
    for (const auto& [name, part] : request_.files) {
        if (part.filename.empty()) {
            longest = std::max(longest, part.content.size());
        }
    }
    return longest;
}

}  // namespace zorlet::sandbox
