#include "platform/UnicodeText.h"

#include "platform/Log.h"

#include <unicode/regex.h>
#include <unicode/uchar.h>
#include <unicode/unistr.h>
#include <unicode/utf8.h>

#include <memory>
#include <mutex>

namespace zorlet {

namespace {

constexpr const char* kEmailPattern =
    R"(^[_A-Za-z0-9-]+(\.[_A-Za-z0-9-]+)*@[A-Za-z0-9-]+(\.[A-Za-z0-9-]+)*$)";

// Calls `visit` with each code point, or with a negative value for each
// ill-formed sequence (as ICU's decoder splits them), and where the sequence
// starts and ends in bytes; stops early when `visit` returns false.
template <typename Visit>
void forEachCodePoint(std::string_view text, Visit visit) {
    const auto* bytes = reinterpret_cast<const uint8_t*>(text.data());
    auto length = static_cast<int32_t>(text.size());
    int32_t at = 0;
    while (at < length) {
        int32_t start = at;
        UChar32 codePoint = 0;
        U8_NEXT(bytes, at, length, codePoint);
        if (!visit(codePoint, static_cast<std::size_t>(start), static_cast<std::size_t>(at))) {
            return;
        }
    }
}

bool isSpaceOrLineBreak(UChar32 codePoint) {
    return codePoint >= 0 && u_isUWhiteSpace(codePoint);
}

const icu::RegexPattern* emailPattern() {
    // Compiled once; a compiled pattern is safe to share between matchers.
    static std::unique_ptr<icu::RegexPattern> pattern;
    static std::once_flag compiled;
    std::call_once(compiled, [] {
        UErrorCode status = U_ZERO_ERROR;
        UParseError parseError;
        pattern.reset(
            icu::RegexPattern::compile(icu::UnicodeString::fromUTF8(kEmailPattern), 0, parseError, status));
        if (U_FAILURE(status)) {
            log().error("the e-mail pattern does not compile: {}", u_errorName(status));
            pattern.reset();
        }
    });
    return pattern.get();
}

}  // namespace

bool UnicodeText::isValidUtf8(std::string_view text) {
    bool valid = true;
    forEachCodePoint(text, [&](UChar32 codePoint, std::size_t, std::size_t) {
        valid = codePoint >= 0;
        return valid;
    });
    return valid;
}

std::size_t UnicodeText::utf16Length(std::string_view utf8) {
    std::size_t units = 0;
    forEachCodePoint(utf8, [&](UChar32 codePoint, std::size_t, std::size_t) {
        units += codePoint > 0xFFFF ? 2 : 1;
        return true;
    });
    return units;
}

std::size_t UnicodeText::chineseLength(std::string_view utf8) {
    std::size_t units = 0;
    forEachCodePoint(utf8, [&](UChar32 codePoint, std::size_t start, std::size_t end) {
        if (codePoint < 0) {
            // Each byte of an ill-formed sequence is its own wide unit.
            units += 2 * (end - start);
        } else if (codePoint > 0xFFFF) {
            units += 4;  // two UTF-16 code units, both above 127
        } else {
            units += codePoint > 127 ? 2 : 1;
        }
        return true;
    });
    return units;
}

std::string UnicodeText::trimmed(std::string_view utf8) {
    std::size_t leading = 0;
    forEachCodePoint(utf8, [&](UChar32 codePoint, std::size_t, std::size_t end) {
        if (!isSpaceOrLineBreak(codePoint)) {
            return false;
        }
        leading = end;
        return true;
    });
    // The trailing run is found walking back from the end, not by decoding the whole text.
    const auto* bytes = reinterpret_cast<const uint8_t*>(utf8.data());
    auto begin = static_cast<int32_t>(leading);
    auto end = static_cast<int32_t>(utf8.size());
    while (end > begin) {
        int32_t previous = end;
        UChar32 codePoint = 0;
        U8_PREV(bytes, begin, previous, codePoint);
        if (!isSpaceOrLineBreak(codePoint)) {
            break;
        }
        end = previous;
    }
    return std::string(utf8.substr(static_cast<std::size_t>(begin), static_cast<std::size_t>(end - begin)));
}

bool UnicodeText::isEmail(std::string_view text) {
    const icu::RegexPattern* pattern = emailPattern();
    if (pattern == nullptr || text.empty() || !isValidUtf8(text)) {
        return false;
    }
    UErrorCode status = U_ZERO_ERROR;
    icu::UnicodeString input =
        icu::UnicodeString::fromUTF8(icu::StringPiece(text.data(), static_cast<int32_t>(text.size())));
    std::unique_ptr<icu::RegexMatcher> matcher(pattern->matcher(input, status));
    if (U_FAILURE(status)) {
        return false;
    }
    bool matches = matcher->matches(status);
    return U_SUCCESS(status) && matches;
}

}  // namespace zorlet
