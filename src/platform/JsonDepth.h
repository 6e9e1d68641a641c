#pragma once

#include <cstddef>
#include <string_view>

namespace zorlet {

// Copying and destroying a JSON value recurse once per level of nesting, so
// text nested deeper than this is malformed (parseJson gives nothing) rather
// than a way to overflow the stack.
inline constexpr std::size_t kMaxJsonDepth = 256;

// Whether brackets and braces outside strings nest deeper than `limit`.
bool jsonNestsDeeperThan(std::string_view text, std::size_t limit);

}  // namespace zorlet
