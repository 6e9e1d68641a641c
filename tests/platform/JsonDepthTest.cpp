#include "platform/AtomicFile.h"
#include "platform/Json.h"
#include "platform/JsonDepth.h"
#include "platform/KeyedArchive.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace zorlet::test {
namespace {

std::string nested(std::size_t depth, const std::string& open = "[", const std::string& close = "]",
                   const std::string& core = "1") {
    std::string text;
    for (std::size_t i = 0; i < depth; ++i) {
        text += open;
    }
    text += core;
    for (std::size_t i = 0; i < depth; ++i) {
        text += close;
    }
    return text;
}

// Copying or destroying a value recurses once per level, so a value deep
// enough to overflow the stack must be refused when it is read.
TEST(JsonDepth, ValuesDeeperThanTheLimitAreMalformed) {
    auto atLimit = parseJson(nested(kMaxJsonDepth));
    ASSERT_TRUE(atLimit);
    Json copy = *atLimit;
    EXPECT_EQ(copy, *atLimit);
    EXPECT_FALSE(parseJson(nested(kMaxJsonDepth + 1)));
    EXPECT_FALSE(parseOrderedJson(nested(kMaxJsonDepth + 1)));

    auto deep = parseJson(nested(100000, "{\"a\":", "}"));
    EXPECT_FALSE(deep);
    EXPECT_FALSE(parseJson(nested(100000)));
    // Brackets inside strings are text, not nesting.
    EXPECT_TRUE(parseJson("[\"" + std::string(100000, '[') + "\\\"{\"]"));
}

TEST(JsonDepth, AnArchiveNestedTooDeeplyReadsAsNoArchive) {
    auto path =
        std::filesystem::temp_directory_path() / ("zorlet-deep-archive-" + std::to_string(::getpid()));
    std::string text = R"({"root":"loginUser","fields":{"pTokenField":)" + nested(100000) + "}}";
    ASSERT_EQ(AtomicFile::write(path, text), "");
    EXPECT_FALSE(KeyedArchive::read(path, "loginUser"));
    std::filesystem::remove(path);
}

TEST(JsonDepth, ArchiveFieldsThatCannotBeWrittenAreAFailureNotACrash) {
    auto path = std::filesystem::temp_directory_path() / ("zorlet-bad-archive-" + std::to_string(::getpid()));
    EXPECT_FALSE(KeyedArchive::write(path, "loginUser", Json{{"pTokenField", "\xFF"}}));
    std::filesystem::remove(path);
}

}  // namespace
}  // namespace zorlet::test
