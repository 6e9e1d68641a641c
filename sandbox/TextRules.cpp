#include "sandbox/TextRules.h"

#include <cctype>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <regex>

namespace zorlet::sandbox {

namespace {

// Calls `visit` with each code point; false when the bytes are not UTF-8.
template <typename Visit>
bool decodeUtf8(std::string_view text, Visit visit) {
    size_t i = 0;
    while (i < text.size()) {
        auto byte = static_cast<unsigned char>(text[i]);
        std::uint32_t codePoint = 0;
        int extra = 0;
        if (byte < 0x80) {
            codePoint = byte;
        } else if ((byte & 0xE0) == 0xC0) {
            codePoint = byte & 0x1F;
            extra = 1;
        } else if ((byte & 0xF0) == 0xE0) {
            codePoint = byte & 0x0F;
            extra = 2;
        } else if ((byte & 0xF8) == 0xF0) {
            codePoint = byte & 0x07;
            extra = 3;
        } else {
            return false;
        }
        if (i + static_cast<size_t>(extra) >= text.size() && extra > 0) {
            return false;
        }
        for (int k = 1; k <= extra; ++k) {
            auto next = static_cast<unsigned char>(text[i + k]);
            if ((next & 0xC0) != 0x80) {
                return false;
            }
            codePoint = (codePoint << 6) | (next & 0x3F);
        }
        static constexpr std::uint32_t smallest[] = {0, 0x80, 0x800, 0x10000};
        if (codePoint < smallest[extra] || codePoint > 0x10FFFF ||
            (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
            return false;
        }
        visit(codePoint);
        i += static_cast<size_t>(extra) + 1;
    }
    return true;
}

}  // namespace

bool TextRules::isValidUtf8(std::string_view text) {
    return decodeUtf8(text, [](std::uint32_t) {});
}

int TextRules::chineseLength(std::string_view utf8) {
    int length = 0;
    decodeUtf8(utf8, [&](std::uint32_t codePoint) {
        if (codePoint > 0xFFFF) {
            length += 4;  // two UTF-16 units, each above 127
        } else {
            length += codePoint > 127 ? 2 : 1;
        }
    });
    return length;
}

int TextRules::utf16Length(std::string_view utf8) {
    int length = 0;
    decodeUtf8(utf8, [&](std::uint32_t codePoint) { length += codePoint > 0xFFFF ? 2 : 1; });
    return length;
}

std::string TextRules::trim(std::string_view text) {
    // ASCII white space and line breaks, plus the ideographic space users type on Chinese keyboards.
    static constexpr std::string_view ideographicSpace = "\xE3\x80\x80";
    bool changed = true;
    while (changed && !text.empty()) {
        changed = false;
        if (std::isspace(static_cast<unsigned char>(text.front()))) {
            text.remove_prefix(1);
            changed = true;
        } else if (text.starts_with(ideographicSpace)) {
            text.remove_prefix(ideographicSpace.size());
            changed = true;
        }
        if (text.empty()) {
            break;
        }
        if (std::isspace(static_cast<unsigned char>(text.back()))) {
            text.remove_suffix(1);
            changed = true;
        } else if (text.ends_with(ideographicSpace)) {
            text.remove_suffix(ideographicSpace.size());
            changed = true;
        }
    }
    return std::string(text);
}

bool TextRules::isEmail(std::string_view text) {
    // The client's own check; the length cap keeps the backtracking matcher cheap.
    if (text.empty() || text.size() > 100) {
        return false;
    }
    static const std::regex pattern(R"(^[_A-Za-z0-9-]+(\.[_A-Za-z0-9-]+)*@[A-Za-z0-9-]+(\.[A-Za-z0-9-]+)*$)");
    return std::regex_match(text.begin(), text.end(), pattern);
}

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
