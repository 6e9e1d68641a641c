#include "model/DeepCopy.h"
#include "model/Preference.h"

#include <gtest/gtest.h>

namespace zorlet {
namespace {

TEST(PreferenceConverter, ReadsQuestionOptionsAndAnswers) {
    auto preference = Preference::convertFromDictionary(Json::parse(R"({
        "preferenceId": 3, "title": "周末喜欢做什么", "displayAnswer": "看电影,爬山", "description": null,
        "tip": "还没有回答", "inputType": 0, "openDescription": true, "answer": ["0", "2"],
        "options": [{"name": "看电影", "value": 0}, {"name": "唱歌", "value": 1}, {"name": "爬山", "value": 2}],
        "minValidationValue": 1, "maxValidationValue": 3
    })"));
    EXPECT_EQ(preference->objIdentity(), 3);
    EXPECT_EQ(preference->inputType, Preference::MultipleChoice);
    EXPECT_EQ(preference->description, "");
    EXPECT_TRUE(preference->openDescription);
    EXPECT_EQ(preference->answers, (std::vector<Json>{"0", "2"}));
    ASSERT_EQ(preference->options.size(), 3u);
    EXPECT_EQ(preference->options[2]->name, "爬山");
    EXPECT_EQ(preference->options[2]->objIdentity(), 2);
    EXPECT_EQ(preference->maxValidationValue, 3);

    for (const char* json :
         {R"({})", R"({"answer": null, "options": null})", R"({"answer": 5, "options": {}})"}) {
        auto empty = Preference::convertFromDictionary(Json::parse(json));
        EXPECT_TRUE(empty->answers.empty()) << json;
        EXPECT_TRUE(empty->options.empty()) << json;
    }
}

TEST(PreferenceDisplay, FinalDisplayAnswer) {
    struct Case {
        std::vector<Json> answers;
        const char* description;
        bool openDescription;
        const char* expected;
    };
    const Case cases[] = {
        {{1}, "B", true, "A\n补充说明:B"},
        {{}, "B", true, "补充说明:B"},
        {{}, "", true, "tip"},
        {{1}, "", true, "A"},
        {{1}, "B", false, "A"},
        {{}, "B", false, "tip"},
    };
    for (const auto& c : cases) {
        Preference preference;
        preference.answers = c.answers;
        preference.displayAnswer = "A";
        preference.description = c.description;
        preference.openDescription = c.openDescription;
        preference.tip = "tip";
        EXPECT_EQ(preference.finalDisplayAnswer(), c.expected) << c.description << c.openDescription;
    }
    // Answers with an empty display text fall back to the tip.
    Preference blank;
    blank.answers = {Json(1)};
    blank.tip = "tip";
    EXPECT_EQ(blank.finalDisplayAnswer(), "tip");
}

TEST(PreferenceCopy, OwnAnswersSharedOptions) {
    auto original = Preference::convertFromDictionary(
        Json::parse(R"({"preferenceId": 1, "answer": [1], "options": [{"name": "a", "value": 0}]})"));
    auto copy = original->copy();
    copy->answers.push_back(Json(2));
    copy->title = "changed";
    EXPECT_EQ(original->answers.size(), 1u);
    EXPECT_EQ(original->title, "");
    EXPECT_EQ(copy->options[0], original->options[0]);

    auto option = original->options[0]->copy();
    EXPECT_NE(option, original->options[0]);
    EXPECT_EQ(option->name, "a");

    // trueDeepCopy copies each element once, in order.
    std::vector<PreferencePtr> list{original, copy};
    auto copies = trueDeepCopy(list);
    ASSERT_EQ(copies.size(), 2u);
    EXPECT_NE(copies[0], original);
    EXPECT_EQ(copies[1]->title, "changed");
    copies[0]->answers.clear();
    EXPECT_EQ(original->answers.size(), 1u);
    EXPECT_EQ(copies[0]->options[0], original->options[0]);
}

}  // namespace
}  // namespace zorlet
