#include "platform/UnicodeText.h"

#include <gtest/gtest.h>

namespace zorlet {
namespace {

TEST(UnicodeText, ChineseLengthCountsUnitsAbove127Twice) {
    struct Case {
        std::string text;
        std::size_t expected;
    };
    const Case cases[] = {
        {"", 0},    {"abc", 3}, {"你好", 4}, {"a你", 3},      {"é", 2},         {"😀", 4},
        {"a😀b", 6}, {" ", 1},   {"\xFF", 2}, {"\xE4\xBD", 4}, {"\xE4\xBDx", 5},  // each byte of a broken
                                                                                 // sequence counts wide
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UnicodeText::chineseLength(c.text), c.expected) << c.text;
    }
}

TEST(UnicodeText, Utf16LengthAndValidity) {
    EXPECT_EQ(UnicodeText::utf16Length("abc"), 3u);
    EXPECT_EQ(UnicodeText::utf16Length("你好"), 2u);
    EXPECT_EQ(UnicodeText::utf16Length("😀"), 2u);
    EXPECT_EQ(UnicodeText::utf16Length("a\xFF"), 2u);  // the replacement character
    EXPECT_TRUE(UnicodeText::isValidUtf8("汉字 abc 😀"));
    EXPECT_TRUE(UnicodeText::isValidUtf8(""));
    EXPECT_FALSE(UnicodeText::isValidUtf8("\xC3"));              // cut short
    EXPECT_FALSE(UnicodeText::isValidUtf8("\xC0\xAF"));          // overlong
    EXPECT_FALSE(UnicodeText::isValidUtf8("\xED\xA0\x80"));      // surrogate
    EXPECT_FALSE(UnicodeText::isValidUtf8("\xF4\x90\x80\x80"));  // past U+10FFFF
}

TEST(UnicodeText, TrimsEveryUnicodeSpaceAndLineBreakAtTheEndsOnly) {
    EXPECT_EQ(UnicodeText::trimmed("\u3000"), "");
    EXPECT_EQ(UnicodeText::trimmed("\u3000 想 \n"), "想");
    EXPECT_EQ(UnicodeText::trimmed("\t\r\n\v\f\u00a0\u0085\u1680\u2003\u2028\u2029\u202f\u205f好 的\u3000\n"),
              "好 的");
    EXPECT_EQ(UnicodeText::trimmed("a\u3000b"), "a\u3000b");
    EXPECT_EQ(UnicodeText::trimmed("  "), "");
    EXPECT_EQ(UnicodeText::trimmed(""), "");
    // Broken bytes are content, not space: nothing is cut from them.
    EXPECT_EQ(UnicodeText::trimmed(" \xFF "), "\xFF");
    EXPECT_EQ(UnicodeText::trimmed("\xE3\x80"), "\xE3\x80");
}

TEST(UnicodeText, EmailRule) {
    for (const char* good : {"a@b", "a_b-c.d@host", "first.last@mail.example.com", "x@y-z.cn"}) {
        EXPECT_TRUE(UnicodeText::isEmail(good)) << good;
    }
    for (const char* bad : {"", "a", "@host", "a@", "a.@host.com", "a@host.", "a b@host", "a@@host",
                            "用户@host", "a@host\xFF"}) {
        EXPECT_FALSE(UnicodeText::isEmail(bad)) << bad;
    }
    // A long address is judged, not refused for its length, and quickly.
    std::string longAccount(5000, 'a');
    longAccount += "@host.com";
    EXPECT_TRUE(UnicodeText::isEmail(longAccount));
}

}  // namespace
}  // namespace zorlet
