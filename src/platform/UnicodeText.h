#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace zorlet {

// The rules every input limit and form check is written in, shared by the
// screens and the sandbox so that both sides count and trim text alike.
class UnicodeText {
public:
    // Well-formed UTF-8: no overlong forms, surrogates or code points past U+10FFFF.
    static bool isValidUtf8(std::string_view text);

    // UTF-16 code units, the length users see counted on the keyboard. An
    // ill-formed sequence counts as the one replacement character it shows as.
    static std::size_t utf16Length(std::string_view utf8);

    // The unit of every input limit: each UTF-16 code unit above 127 counts 2,
    // every other unit 1. A Chinese character is 2, an ASCII letter 1, and a
    // character outside the basic plane (a surrogate pair) 4. Invalid bytes
    // count as one wide unit each so that garbage can never pass a limit it
    // would not pass as text.
    static std::size_t chineseLength(std::string_view utf8);

    // Drops white space and line breaks at both ends: ASCII spaces and
    // controls, the no-break spaces, the ideographic space (U+3000) typed by
    // Chinese keyboards, and the Unicode spaces and line/paragraph separators.
    static std::string trimmed(std::string_view utf8);

    // The account rule of registration and sign-in: name@host with dotted
    // words of letters, digits, '_' and '-'.
    static bool isEmail(std::string_view text);
};

}  // namespace zorlet
