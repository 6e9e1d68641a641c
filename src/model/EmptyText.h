#pragma once

#include "platform/Json.h"

#include <optional>
#include <string>
#include <string_view>

namespace zorlet {

// The one test for "no text": absent, JSON null or "". A text of blanks is not empty.
inline bool isEmpty(std::string_view text) {
    return text.empty();
}
inline bool isEmpty(const std::string& text) {
    return text.empty();
}
inline bool isEmpty(const char* text) {
    return text == nullptr || *text == '\0';
}
inline bool isEmpty(const std::optional<std::string>& text) {
    return !text || text->empty();
}
// A JSON value that is not a string (a number, an object) is something, so it is not empty.
inline bool isEmpty(const Json& value) {
    return value.is_null() || (value.is_string() && value.get_ref<const std::string&>().empty());
}

inline bool isNotEmpty(std::string_view text) {
    return !isEmpty(text);
}
inline bool isNotEmpty(const std::string& text) {
    return !isEmpty(text);
}
inline bool isNotEmpty(const char* text) {
    return !isEmpty(text);
}
inline bool isNotEmpty(const std::optional<std::string>& text) {
    return !isEmpty(text);
}
inline bool isNotEmpty(const Json& value) {
    return !isEmpty(value);
}

}  // namespace zorlet
