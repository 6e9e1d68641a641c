#include "platform/UrlEncoding.h"

#include <cctype>

namespace zorlet {

namespace {

constexpr char kHex[] = "0123456789ABCDEF";

void appendEscaped(std::string& out, unsigned char byte) {
    out += '%';
    out += kHex[byte >> 4];
    out += kHex[byte & 0xF];
}

int hexValue(char c) {
    if (c >= '0' && c <= '9') {
        return c - '0';
    }
    if (c >= 'a' && c <= 'f') {
        return c - 'a' + 10;
    }
    if (c >= 'A' && c <= 'F') {
        return c - 'A' + 10;
    }
    return -1;
}

}  // namespace

std::string formEncode(std::string_view text) {
    std::string out;
    out.reserve(text.size() * 3 / 2);
    for (unsigned char c : text) {
        if (std::isalnum(c) || c == '-' || c == '.' || c == '_' || c == '~') {
            out += static_cast<char>(c);
        } else if (c == ' ') {
            out += '+';
        } else {
            appendEscaped(out, c);
        }
    }
    return out;
}

std::string escapeUrl(std::string_view url) {
    std::string out;
    out.reserve(url.size());
    for (unsigned char c : url) {
        bool allowed = c > 0x20 && c < 0x7F && c != '"' && c != '<' && c != '>' && c != '\\' && c != '^' &&
                       c != '`' && c != '{' && c != '|' && c != '}';
        if (allowed) {
            out += static_cast<char>(c);
        } else {
            appendEscaped(out, c);
        }
    }
    return out;
}

std::string percentDecode(std::string_view text, bool plusIsSpace) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        char c = text[i];
        if (c == '%' && i + 2 < text.size()) {
            int high = hexValue(text[i + 1]);
            int low = hexValue(text[i + 2]);
            if (high >= 0 && low >= 0) {
                out += static_cast<char>(high * 16 + low);
                i += 2;
                continue;
            }
        }
        out += (plusIsSpace && c == '+') ? ' ' : c;
    }
    return out;
}

}  // namespace zorlet
