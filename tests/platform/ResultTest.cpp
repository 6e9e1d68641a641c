#include "platform/Result.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <type_traits>

namespace zorlet::test {
namespace {

// Failing with an empty pointer would read as a success with nothing in it.
static_assert(!std::is_constructible_v<Result<std::unique_ptr<int>>, std::nullptr_t>);
// A result is tested on purpose, never turned into a number or a flag by accident.
static_assert(!std::is_convertible_v<Result<int>, bool>);
static_assert(!std::is_convertible_v<Status, bool>);

Result<int> half(int number) {
    if (number % 2 != 0) {
        return Failure{std::to_string(number) + " is odd"};
    }
    return number / 2;
}

Result<std::unique_ptr<std::string>> boxed(const char* text) {
    auto box = std::make_unique<std::string>(text);
    return box;
}

TEST(ResultTest, AValueOrTheReasonThereIsNone) {
    auto even = half(8);
    ASSERT_TRUE(even.ok());
    EXPECT_TRUE(even);
    EXPECT_EQ(*even, 4);
    EXPECT_EQ(even.value(), 4);
    EXPECT_EQ(even.error(), "");

    auto odd = half(7);
    EXPECT_FALSE(odd.ok());
    EXPECT_FALSE(odd);
    EXPECT_EQ(odd.error(), "7 is odd");

    // Text as the value is not taken for a failure, and an empty failure is still one.
    Result<std::string> name = std::string("小鹿");
    EXPECT_TRUE(name);
    EXPECT_EQ(name->size(), 6u);
    EXPECT_EQ(name.error(), "");
    Result<std::string> silent = Failure{};
    EXPECT_FALSE(silent);
    EXPECT_EQ(silent.error(), "");
}

TEST(ResultTest, AMoveOnlyValueIsHandedOn) {
    auto box = boxed("inside");
    ASSERT_TRUE(box);
    EXPECT_EQ(**box, "inside");
    std::unique_ptr<std::string> taken = std::move(box).value();
    ASSERT_NE(taken, nullptr);
    EXPECT_EQ(*taken, "inside");

    Result<std::unique_ptr<std::string>> refused = Failure{"no room"};
    EXPECT_FALSE(refused);
    EXPECT_EQ(refused.error(), "no room");
}

TEST(ResultTest, AStatusIsASuccessUntilItSaysOtherwise) {
    Status done;
    EXPECT_TRUE(done);
    EXPECT_EQ(done.error(), "");

    Status step = Failure{"the disk is full"};
    EXPECT_FALSE(step.ok());
    EXPECT_EQ(step.error(), "the disk is full");
    step = {};
    EXPECT_TRUE(step);
    EXPECT_EQ(step.error(), "");
    EXPECT_FALSE(Status(Failure{}));
}

}  // namespace
}  // namespace zorlet::test
