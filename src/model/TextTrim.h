#pragma once

#include <string>
#include <string_view>

namespace zorlet {

// Drops white space and line breaks at both ends, as the phone framework's
// whitespace-and-newline set does: ASCII spaces and controls, the no-break
// space, the ideographic space (U+3000) typed by Chinese keyboards, and the
// Unicode space and line/paragraph separators.
std::string trimWhitespaceAndNewlines(std::string_view utf8);

}  // namespace zorlet
