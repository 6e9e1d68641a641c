#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace zorlet::sandbox {

// How the service reads the values requests carry (numbers, hex digits) and
// escapes text into its own pages. Length and form rules of what users type
// are the client's own (platform/UnicodeText), so both sides refuse alike.
class TextRules {
public:
    static bool isHex(std::string_view text);
    static std::optional<std::int64_t> parseInteger(std::string_view text);
    static std::optional<double> parseNumber(std::string_view text);
    static std::string htmlEscape(std::string_view text);
};

}  // namespace zorlet::sandbox
