#pragma once

#include <string>
#include <string_view>

namespace zorlet {

// Form-style percent-encoding (application/x-www-form-urlencoded) of UTF-8
// text: letters, digits and "-._~" stay, a space becomes "+", every other
// byte becomes %XX.
std::string formEncode(std::string_view text);
// Percent-escapes the bytes a URL may not hold as they are (spaces, non-ASCII,
// quotes, angle brackets...), leaving the URL's own delimiters ("/?&=#:%")
// untouched.
std::string escapeUrl(std::string_view url);
// Decodes %XX and, when `plusIsSpace`, "+" as a space. Malformed escapes stay as they are.
std::string percentDecode(std::string_view text, bool plusIsSpace = true);

}  // namespace zorlet
