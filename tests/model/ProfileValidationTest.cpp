#include "model/ProfileValidation.h"
#include "net/UrlUtils.h"
#include "platform/Log.h"
#include "platform/Reachability.h"
#include "ui/AlertRegistry.h"
#include "ui/AlertView.h"

#include "support/ScriptedServer.h"

#include <gtest/gtest.h>
#include <spdlog/sinks/ostream_sink.h>

#include <sstream>

namespace zorlet {
namespace {

std::string repeat(const std::string& text, int times) {
    std::string result;
    for (int i = 0; i < times; ++i) {
        result += text;
    }
    return result;
}

class NicknameCheck : public ::testing::Test {
protected:
    void SetUp() override {
        previousBaseUrl_ = UrlUtils::baseUrl();
        UrlUtils::setBaseUrl(server_.url());
        log().sinks().push_back(logSink_);
    }
    void TearDown() override {
        std::erase(log().sinks(), logSink_);
        UrlUtils::setBaseUrl(previousBaseUrl_);
    }
    std::string logText() {
        log().flush();
        return logStream_.str();
    }

    static constexpr const char* kPath = "/profile/validate/nickexist";
    test::ScriptedServer server_;
    std::string previousBaseUrl_;
    std::ostringstream logStream_;
    std::shared_ptr<spdlog::sinks::ostream_sink_mt> logSink_ =
        std::make_shared<spdlog::sinks::ostream_sink_mt>(logStream_);
};

TEST_F(NicknameCheck, LengthIsCheckedBeforeAskingTheServer) {
    server_.onJson(kPath, R"({"success": true})");
    for (const std::string& nickname : {std::string(), repeat("张", 11), repeat("a", 21)}) {
        EXPECT_EQ(ProfileValidation::validateNickname(nickname), "昵称必须1-10个字以内") << nickname;
    }
    EXPECT_EQ(server_.countOf(kPath), 0u);

    EXPECT_EQ(ProfileValidation::validateNickname(repeat("张", 10)), std::nullopt);
    EXPECT_EQ(ProfileValidation::validateNickname(repeat("a", 20)), std::nullopt);
    ASSERT_EQ(server_.countOf(kPath), 2u);
    auto request = server_.requestsTo(kPath)[0];
    EXPECT_EQ(request.method, "POST");
    EXPECT_EQ(request.param("nickname"), repeat("张", 10));
}

TEST_F(NicknameCheck, OnlyBooleanFalseAndTrueMeanTaken) {
    struct Case {
        const char* body;
        std::optional<std::string> expected;
    };
    const Case cases[] = {
        {R"({"success": false, "result": true, "errorInfo": "该昵称已被占用"})", "该昵称已被占用"},
        {R"({"success": false, "result": true, "errorInfo": null})", "该昵称已被使用"},
        {R"({"success": false, "result": 1, "errorInfo": "x"})", std::nullopt},
        {R"({"success": 0, "result": true, "errorInfo": "x"})", std::nullopt},
        {R"({"success": true, "result": true})", std::nullopt},
        {R"({"success": false, "result": false, "errorInfo": "x"})", std::nullopt},
        {R"({"success": false, "errorInfo": "x"})", std::nullopt},
        {R"(not json)", std::nullopt},
        {R"([false, true])", std::nullopt},
    };
    for (const auto& c : cases) {
        server_.onJson(kPath, c.body);
        EXPECT_EQ(ProfileValidation::validateNickname("小明"), c.expected) << c.body;
    }
}

TEST_F(NicknameCheck, NetworkFaultsLetTheNicknameThroughAndAreLogged) {
    server_.onJson(kPath, R"({"success": false, "result": true, "errorInfo": "taken"})", 500);
    EXPECT_EQ(ProfileValidation::validateNickname("小明"), std::nullopt);
    EXPECT_NE(logText().find("error: "), std::string::npos);

    // Nobody listens on the port any more.
    std::string closedUrl;
    {
        test::ScriptedServer gone;
        closedUrl = gone.url();
    }
    UrlUtils::setBaseUrl(closedUrl);
    EXPECT_EQ(ProfileValidation::validateNickname("小明"), std::nullopt);
}

TEST_F(NicknameCheck, WithoutANetworkTheUserIsToldAndNothingIsAsked) {
    server_.onJson(kPath, R"({"success": false, "result": true, "errorInfo": "taken"})");
    AlertRegistry::shared().clear();
    Reachability::shared().setNetworkAvailable(false);
    EXPECT_EQ(ProfileValidation::validateNickname("小明"), std::nullopt);
    Reachability::shared().setNetworkAvailable(true);
    EXPECT_EQ(server_.countOf(kPath), 0u);
    ASSERT_NE(AlertRegistry::shared().topAlert(), nullptr);
    EXPECT_EQ(AlertRegistry::shared().topAlert()->message(), "网络不存在");
    AlertRegistry::shared().clear();
}

TEST(ProfileValidation, FeatureAndProfessionLimits) {
    EXPECT_EQ(ProfileValidation::validateFeature(""), std::nullopt);
    EXPECT_EQ(ProfileValidation::validateFeature(repeat("好", 70)), std::nullopt);
    EXPECT_EQ(ProfileValidation::validateFeature(repeat("好", 70) + "a"), "个人简介请不要超过70个字");
    EXPECT_EQ(ProfileValidation::validateFeature(repeat("好", 71)), "个人简介请不要超过70个字");

    EXPECT_EQ(ProfileValidation::validateProfession(""), "职业描述不能少于1个字");
    EXPECT_EQ(ProfileValidation::validateProfession("a"), "职业描述不能少于1个字");
    EXPECT_EQ(ProfileValidation::validateProfession("ab"), std::nullopt);
    EXPECT_EQ(ProfileValidation::validateProfession("医"), std::nullopt);
    EXPECT_EQ(ProfileValidation::validateProfession(repeat("医", 10)), std::nullopt);
    EXPECT_EQ(ProfileValidation::validateProfession(repeat("医", 10) + "a"), "职业描述请不要超过10个字");
}

}  // namespace
}  // namespace zorlet
