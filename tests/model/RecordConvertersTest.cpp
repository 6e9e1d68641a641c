#include "model/IdeaUser.h"
#include "model/RecordConverters.h"
#include "model/User.h"
#include "net/RecordRegistry.h"

#include <gtest/gtest.h>

namespace zorlet {
namespace {

TEST(RecordConverters, PagedListsFindEveryRecordByClassName) {
    RecordConverters::registerAll();
    RecordConverters::registerAll();  // a second start-up call changes nothing

    struct Case {
        const char* className;
        const char* element;
        std::int64_t identity;
    };
    const Case cases[] = {
        {"User", R"({"uid": 15, "postView": {"postId": 2}})", 15},
        {"Post", R"({"postId": 8})", 8},
        {"UserHome", R"({"userView": {"uid": 4}})", 4},
        {"IdeaUser", R"({"userView": {"uid": 6}, "ideaId": 1})", 6},
        {"Preference", R"({"preferenceId": 3})", 3},
        {"Option", R"({"value": 2})", 2},
        {"Category", R"({"categoryId": 5})", 5},
        {"Profession", R"({"12": "教师"})", 12},
        {"Province", R"({"provinceId": 44})", 44},
        {"City", R"({"cityId": 4403})", 4403},
    };
    for (const auto& c : cases) {
        const auto* convert = RecordRegistry::converterFor(c.className);
        ASSERT_NE(convert, nullptr) << c.className;
        RecordPtr record = (*convert)(Json::parse(c.element));
        ASSERT_NE(record, nullptr) << c.className;
        EXPECT_EQ(record->objIdentity(), c.identity) << c.className;
    }

    // A user converted for a list carries its latest post.
    auto user = std::dynamic_pointer_cast<User>(
        (*RecordRegistry::converterFor("User"))(Json::parse(R"({"uid": 1, "postView": {"postId": 9}})")));
    ASSERT_NE(user, nullptr);
    ASSERT_NE(user->post, nullptr);
    EXPECT_EQ(user->post->postId, 9);
}

}  // namespace
}  // namespace zorlet
