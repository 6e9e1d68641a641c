#include "model/TextTrim.h"

#include <array>

namespace zorlet {

namespace {

// The length of the white-space character starting at `at`, or 0.
std::size_t spaceAt(std::string_view text, std::size_t at) {
    unsigned char c = static_cast<unsigned char>(text[at]);
    if (c == ' ' || (c >= '\t' && c <= '\r')) {
        return 1;
    }
    static constexpr std::array<std::string_view, 8> kWide = {
        "\xC2\x85",      // next line
        "\xC2\xA0",      // no-break space
        "\xE1\x9A\x80",  // ogham space mark
        "\xE2\x80\xA8",  // line separator
        "\xE2\x80\xA9",  // paragraph separator
        "\xE2\x80\xAF",  // narrow no-break space
        "\xE2\x81\x9F",  // medium mathematical space
        "\xE3\x80\x80",  // ideographic space
    };
    std::string_view rest = text.substr(at);
    for (auto wide : kWide) {
        if (rest.starts_with(wide)) {
            return wide.size();
        }
    }
    // U+2000 to U+200A: the typographic spaces.
    if (rest.size() >= 3 && rest[0] == '\xE2' && rest[1] == '\x80' &&
        static_cast<unsigned char>(rest[2]) >= 0x80 && static_cast<unsigned char>(rest[2]) <= 0x8A) {
        return 3;
    }
    return 0;
}

// The length of the white-space character ending just before `end`, or 0.
std::size_t spaceBefore(std::string_view text, std::size_t end) {
    for (std::size_t width = 1; width <= 3 && width <= end; ++width) {
        if (spaceAt(text, end - width) == width) {
            return width;
        }
    }
    return 0;
}

}  // namespace

std::string trimWhitespaceAndNewlines(std::string_view utf8) {
    std::size_t begin = 0;
    while (begin < utf8.size()) {
        std::size_t width = spaceAt(utf8, begin);
        if (width == 0) {
            break;
        }
        begin += width;
    }
    std::size_t end = utf8.size();
    while (end > begin) {
        std::size_t width = spaceBefore(utf8, end);
        if (width == 0) {
            break;
        }
        end -= width;
    }
    return std::string(utf8.substr(begin, end - begin));
}

}  // namespace zorlet
