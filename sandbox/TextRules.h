#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zorlet::sandbox {

// The length and form rules the client applies to what users type, so the
// service refuses exactly what the client would and nothing more.
class TextRules {
public:
    static bool isValidUtf8(std::string_view text);
    // Half-width units: a UTF-16 code unit above 127 counts 2, any other 1.
    static int chineseLength(std::string_view utf8);
    static int utf16Length(std::string_view utf8);
    static std::string trim(std::string_view text);
    static bool isEmail(std::string_view text);
    static bool isHex(std::string_view text);
    static std::optional<std::int64_t> parseInteger(std::string_view text);
    static std::optional<double> parseNumber(std::string_view text);
    static std::string htmlEscape(std::string_view text);
};

}  // namespace zorlet::sandbox
