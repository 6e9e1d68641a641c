#pragma once

#include <cstddef>
#include <string_view>

namespace zorlet {

// The length unit of every input limit: each UTF-16 code unit above 127
// counts 2, every other unit 1. A Chinese character is 2, an ASCII letter 1,
// and a character outside the basic plane (a surrogate pair) 4. Invalid UTF-8
// bytes count as one wide unit each so that garbage can never pass a limit
// it would not pass as text.
std::size_t chineseLength(std::string_view utf8);

}  // namespace zorlet
