#include "sandbox/TextRules.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>

namespace zorlet::sandbox {

bool TextRules::isHex(std::string_view text) {
    if (text.empty()) {
        return false;
    }
    for (char c : text) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) {
            return false;
        }
    }
    return true;
}

std::optional<std::int64_t> TextRules::parseInteger(std::string_view text) {
    if (text.empty()) {
        return std::nullopt;
    }
    std::int64_t value = 0;
    auto begin = text.data();
    if (*begin == '+') {
        ++begin;
    }
    auto [end, error] = std::from_chars(begin, text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) {
        return std::nullopt;
    }
    return value;
}

std::optional<double> TextRules::parseNumber(std::string_view text) {
    if (text.empty()) {
        return std::nullopt;
    }
    double value = 0;
    auto begin = text.data();
    if (*begin == '+') {
        ++begin;
    }
    auto [end, error] = std::from_chars(begin, text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

std::string TextRules::htmlEscape(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        switch (c) {
            case '&':
                escaped += "&amp;";
                break;
            case '<':
                escaped += "&lt;";
                break;
            case '>':
                escaped += "&gt;";
                break;
            case '"':
                escaped += "&quot;";
                break;
            case '\'':
                escaped += "&#39;";
                break;
            default:
                escaped += c;
        }
    }
    return escaped;
}

}  // namespace zorlet::sandbox
