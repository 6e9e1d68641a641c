#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace zorlet {

// Each byte as two upper-case hexadecimal digits, without separators: the
// text form of the push device token.
std::string stringWithHexBytes(std::string_view bytes);
// The reverse, upper or lower case; nothing when the text is not pairs of hex digits.
std::optional<std::string> bytesWithHexString(std::string_view hex);

}  // namespace zorlet
