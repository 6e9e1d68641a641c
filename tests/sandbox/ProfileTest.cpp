#include "SandboxFixture.h"

#include <fstream>
#include <sstream>

namespace zorlet::sandbox::test {

namespace {

nlohmann::json resourceFile(const std::string& name) {
    std::ifstream in(std::filesystem::path(ZORLET_RESOURCES_DIR) / name);
    std::stringstream text;
    text << in.rdbuf();
    return nlohmann::json::parse(text.str(), nullptr, false);
}

// A city id the reference lists know, or any id when there are none.
std::string someCityId() {
    auto provinces = resourceFile("province");
    if (provinces.is_object() && provinces.contains("cityList") && !provinces["cityList"].empty()) {
        return std::to_string(provinces["cityList"][0]["cityId"].get<std::int64_t>());
    }
    return "1";
}

httplib::MultipartFormDataItems guideForm(const std::string& nickname) {
    return {{"nickname", nickname, "", ""}, {"gender", "0", "", ""},
            {"birth", "1991-3-7", "", ""},  {"cityId", someCityId(), "", ""},
            {"professionId", "0", "", ""},  {"profession", "调酒师", "", ""}};
}

}  // namespace

TEST_F(SandboxTest, ReferenceListsServeTheClientsResourceFiles) {
    ApiClient client(port());
    auto categories = client.get("/base/categoryList");
    ASSERT_TRUE(categories.success());
    auto professions = client.get("/base/professionList");
    auto provinces = client.get("/base/provinceCityList");
    auto categoryFile = resourceFile("category");
    if (categoryFile.is_discarded()) {
        EXPECT_EQ(categories.result(), nlohmann::json::array());
        return;
    }
    EXPECT_EQ(categories.result(), categoryFile);
    EXPECT_EQ(professions.result(), resourceFile("profession"));
    EXPECT_EQ(provinces.result(), resourceFile("province"));
}

TEST_F(SandboxTest, NicknameCheckTellsTakenFromFree) {
    ASSERT_TRUE(control().createUser({"", "", "已有的人"}));
    std::int64_t uid = 0;
    auto client = newSignedInUser("我自己", &uid);
    auto taken = client->post("/profile/validate/nickexist", {{"nickname", "已有的人"}});
    EXPECT_FALSE(taken.success());
    EXPECT_EQ(taken.result(), true);
    EXPECT_FALSE(taken.errorInfo().empty());
    auto free = client->post("/profile/validate/nickexist", {{"nickname", "没人用"}});
    EXPECT_TRUE(free.success());
    EXPECT_NE(free.result(), true);
    // One's own nickname is not taken by someone else.
    EXPECT_TRUE(client->post("/profile/validate/nickexist", {{"nickname", "我自己"}}).success());
    auto tooLong = client->post("/profile/validate/nickexist", {{"nickname", std::string(21, 'a')}});
    EXPECT_FALSE(tooLong.success());
    EXPECT_NE(tooLong.result(), true);
}

TEST_F(SandboxTest, GuideRequiresEveryFieldAndCompletesTheCard) {
    ApiClient client(port());
    ASSERT_TRUE(client
                    .post("/passport/v132/register", {{"account", "g@example.com"},
                                                      {"nickname", "新人"},
                                                      {"pwd", "123456"},
                                                      {"confirmPwd", "123456"}})
                    .success());
    auto missingGender = guideForm("新人");
    missingGender.erase(missingGender.begin() + 1);
    EXPECT_EQ(client.postMultipart("/profile/guide", missingGender).errorInfo(), "请选择性别");
    auto badBirth = guideForm("新人");
    badBirth[2].content = "1991-02-30";
    EXPECT_EQ(client.postMultipart("/profile/guide", badBirth).errorInfo(), "生日格式不正确");
    auto badCity = guideForm("新人");
    badCity[3].content = "999999";
    EXPECT_EQ(client.postMultipart("/profile/guide", badCity).errorInfo(), "请选择所在地");
    auto shortProfession = guideForm("新人");
    shortProfession[5].content = "a";
    EXPECT_EQ(client.postMultipart("/profile/guide", shortProfession).errorInfo(), "职业描述不能少于1个字");
    EXPECT_EQ(client.post("/passport/v132/login").result()["userView"]["hasGuided"], 0);

    auto done = client.postMultipart("/profile/guide", guideForm("新人"));
    ASSERT_TRUE(done.success()) << done.text;
    const auto& user = done.result();
    EXPECT_EQ(user["hasGuided"], 1);
    EXPECT_EQ(user["gender"], 0);
    EXPECT_EQ(user["birthYear"], 1991);
    EXPECT_EQ(user["birthMonth"], 3);
    EXPECT_EQ(user["birthDay"], 7);
    EXPECT_EQ(user["constellation"], "双鱼座");
    EXPECT_EQ(std::to_string(user["cityId"].get<std::int64_t>()), someCityId());
    EXPECT_EQ(user["profession"], "调酒师");
    EXPECT_EQ(user["professionId"], 0);
    EXPECT_EQ(client.post("/passport/v132/login").result()["userView"]["hasGuided"], 1);
}

TEST_F(SandboxTest, ProfileSaveValidatesAndClearsAnOmittedSelfDescription) {
    ASSERT_TRUE(control().createUser({"", "", "别人"}));
    auto client = newSignedInUser("本人");
    auto saved = client->post("/profile/save", {{"nickname", "本人"}, {"feature", "喜欢爬山"}});
    ASSERT_TRUE(saved.success()) << saved.text;
    EXPECT_EQ(saved.result()["feature"], "喜欢爬山");
    std::string seventyOne;
    for (int i = 0; i < 71; ++i) {
        seventyOne += "字";
    }
    EXPECT_EQ(client->post("/profile/save", {{"feature", seventyOne}}).errorInfo(),
              "个人简介请不要超过70个字");
    EXPECT_EQ(client->post("/profile/save", {{"nickname", "别人"}}).errorInfo(), "该昵称已被使用，换一个吧");
    EXPECT_EQ(client->post("/profile/save", {{"gender", "5"}}).errorInfo(), "请选择性别");
    // The form leaves the self-description out when the user cleared it.
    auto cleared = client->post("/profile/save", {{"nickname", "本人"}});
    ASSERT_TRUE(cleared.success());
    EXPECT_EQ(cleared.result()["feature"], "");
}

TEST_F(SandboxTest, ProfileFormOfAUserWithoutLocationOrProfessionSaves) {
    auto client = newSignedInUser("没填过");
    auto cityBefore = client->post("/passport/v132/login").result()["userView"]["cityId"];
    // The form sends every field it shows; 0 ids and empty texts mean "not chosen yet".
    auto saved = client->post("/profile/save", {{"nickname", "没填过"},
                                                {"gender", "1"},
                                                {"birth", ""},
                                                {"professionId", "0"},
                                                {"profession", ""},
                                                {"cityId", "0"}});
    ASSERT_TRUE(saved.success()) << saved.text;
    EXPECT_EQ(saved.result()["cityId"], cityBefore);
    EXPECT_EQ(saved.result()["profession"], "");
    // The guide still insists on both.
    auto guide = client->post("/profile/guide", {{"nickname", "没填过"},
                                                 {"gender", "1"},
                                                 {"birth", "1991-3-7"},
                                                 {"professionId", "0"},
                                                 {"profession", ""},
                                                 {"cityId", "0"}});
    EXPECT_EQ(guide.errorInfo(), "请选择所在地");
    guide = client->post("/profile/guide", {{"nickname", "没填过"},
                                            {"gender", "1"},
                                            {"birth", "1991-3-7"},
                                            {"professionId", "0"},
                                            {"profession", ""},
                                            {"cityId", someCityId()}});
    EXPECT_EQ(guide.errorInfo(), "请选择职业");
}

TEST_F(SandboxTest, UploadedPhotoIsStoredAndServedBackWithCacheHeaders) {
    auto client = newSignedInUser("有照片");
    auto jpeg = smallJpeg();
    auto saved = client->postMultipart(
        "/profile/save", {{"nickname", "有照片", "", ""}, {"logo", jpeg, "logo.jpg", "image/jpeg"}});
    ASSERT_TRUE(saved.success()) << saved.text;
    auto url = saved.result()["logo"].get<std::string>();
    EXPECT_EQ(saved.result()["hasLogo"], true);
    EXPECT_EQ(saved.result()["newLogo"], url);
    auto prefix = "http://127.0.0.1:" + std::to_string(port());
    ASSERT_EQ(url.rfind(prefix, 0), 0u) << url;

    httplib::Client http("127.0.0.1", port());
    auto picture = http.Get(url.substr(prefix.size()));
    ASSERT_TRUE(picture);
    EXPECT_EQ(picture->status, 200);
    EXPECT_EQ(picture->body, jpeg);
    EXPECT_EQ(picture->get_header_value("Content-Type"), "image/jpeg");
    EXPECT_NE(picture->get_header_value("Cache-Control").find("max-age"), std::string::npos);

    auto png = client->postMultipart("/profile/save", {{"logo", smallPng(), "logo.jpg", "image/jpeg"}});
    ASSERT_TRUE(png.success());
    EXPECT_NE(png.result()["logo"], url);

    // Bytes that only pretend to be a picture are refused.
    auto fakeJpeg = std::string("\xFF\xD8\xFF\xE0", 4) + std::string(100, 'x');
    auto refused = client->postMultipart("/profile/save", {{"logo", fakeJpeg, "logo.jpg", "image/jpeg"}});
    EXPECT_FALSE(refused.success());
    auto truncatedPng = smallPng().substr(0, 60);
    EXPECT_FALSE(
        client->postMultipart("/profile/save", {{"logo", truncatedPng, "logo.png", "image/png"}}).success());
    EXPECT_EQ(http.Get("/pictures/0123456789abcdef0123456789abcdef.jpg")->status, 404);
    EXPECT_EQ(http.Get("/pictures/../sandbox.db")->status, 404);
}

}  // namespace zorlet::sandbox::test
