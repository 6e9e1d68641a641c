#pragma once

#include <string>
#include <string_view>

namespace zorlet {

// Each byte as two upper-case hexadecimal digits, without separators: the
// text form of the push device token.
std::string stringWithHexBytes(std::string_view bytes);

}  // namespace zorlet
