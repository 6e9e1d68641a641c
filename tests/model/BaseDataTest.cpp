#include "model/BaseData.h"
#include "net/UrlUtils.h"
#include "platform/AtomicFile.h"
#include "platform/DataFolder.h"

#include "support/ScriptedServer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

namespace zorlet {
namespace {

namespace fs = std::filesystem;

constexpr const char* kCategoryPath = "/base/categoryList";
constexpr const char* kProfessionPath = "/base/professionList";
constexpr const char* kProvincePath = "/base/provinceCityList";

// Each test gets its own resource folder, no downloaded copies and lists not yet loaded.
class BaseDataTest : public ::testing::Test {
protected:
    void SetUp() override {
        previousBaseUrl_ = UrlUtils::baseUrl();
        previousResources_ = BaseData::resourceFolder();
        UrlUtils::setBaseUrl(server_.url());
        resources_ = DataFolder::shared().root() / "shipped-resources";
        fs::remove_all(resources_);
        fs::create_directories(resources_);
        BaseData::setResourceFolder(resources_);
        for (const char* name : {"category", "profession", "province"}) {
            fs::remove(BaseData::downloadedFilePath(name));
        }
        BaseData::resetForTesting();
    }
    void TearDown() override {
        BaseData::setResourceFolder(previousResources_);
        BaseData::resetForTesting();
        UrlUtils::setBaseUrl(previousBaseUrl_);
    }
    void ship(const std::string& name, const std::string& content) {
        ASSERT_EQ(AtomicFile::write(resources_ / name, content), "");
    }
    static std::string envelope(const std::string& result) {
        return R"({"success": true, "errorCode": 0, "errorInfo": null, "result": )" + result + "}";
    }

    test::ScriptedServer server_;
    fs::path resources_;
    fs::path previousResources_;
    std::string previousBaseUrl_;
};

TEST_F(BaseDataTest, ShippedListsAreCompleteAndNeedNoRequest) {
    BaseData::setResourceFolder(ZORLET_RESOURCES_DIR);

    auto categories = BaseData::getCategories();
    ASSERT_FALSE(categories.empty());
    for (const auto& category : categories) {
        EXPECT_GT(category->categoryId, 0);
        EXPECT_FALSE(category->name.empty());
        EXPECT_FALSE(category->icon.empty());
    }
    EXPECT_EQ(BaseData::indexOfCategory(categories[0]->categoryId), 0);
    EXPECT_EQ(BaseData::getCategory(categories[1]->categoryId), categories[1]);
    EXPECT_EQ(BaseData::indexOfCategory(-7), -1);
    EXPECT_EQ(BaseData::getCategory(-7), nullptr);

    auto professions = BaseData::getProfessions();
    ASSERT_GE(professions.size(), 30u);
    for (const auto& profession : professions) {
        EXPECT_GT(profession->professionIdValue(), 0) << profession->professionId;
        EXPECT_FALSE(profession->name.empty());
    }

    EXPECT_TRUE(BaseData::getCitiesWithProvinceId(11).empty());  // not before the provinces are loaded
    auto provinces = BaseData::getProvinces();
    ASSERT_EQ(provinces.size(), 31u);  // every province, region and municipality of the mainland
    std::set<std::int64_t> cityIds;
    for (const auto& province : provinces) {
        auto cities = BaseData::getCitiesWithProvinceId(province->provinceId);
        EXPECT_FALSE(cities.empty()) << province->name;
        for (const auto& city : cities) {
            EXPECT_TRUE(cityIds.insert(city->cityId).second) << city->name;
            EXPECT_EQ(city->provinceId, province->provinceId);
        }
    }
    EXPECT_EQ(provinces[BaseData::indexOfProvinces(44)]->name, "广东省");
    auto guangdong = BaseData::getCitiesWithProvinceId(44);
    int shenzhen = BaseData::indexOfCities(4403, 44);
    ASSERT_GE(shenzhen, 0);
    EXPECT_EQ(guangdong[shenzhen]->name, "深圳市");
    EXPECT_EQ(BaseData::indexOfProvinces(99), -1);
    EXPECT_EQ(BaseData::indexOfCities(4403, 11), -1);

    EXPECT_TRUE(server_.requests().empty());
}

TEST_F(BaseDataTest, MissingFileFallsBackToTheServerAndKeepsTheList) {
    server_.onJson(kCategoryPath, envelope(R"([{"categoryId": 3, "name": "演出", "icon": "ca_show"},
                                {"categoryId": 5, "name": "运动", "icon": "ca_sport"}])"));
    auto categories = BaseData::getCategories();
    ASSERT_EQ(categories.size(), 2u);
    EXPECT_EQ(categories[1]->name, "运动");
    EXPECT_EQ(categories[1]->icon, "ca_sport");
    EXPECT_EQ(server_.countOf(kCategoryPath), 1u);
    EXPECT_EQ(server_.lastRequestTo(kCategoryPath).method, "GET");

    // Kept for this run, and written for the next one.
    BaseData::getCategories();
    EXPECT_EQ(server_.countOf(kCategoryPath), 1u);
    ASSERT_TRUE(fs::exists(BaseData::downloadedFilePath("category")));
    EXPECT_EQ(BaseData::dataFilePath("category"), BaseData::downloadedFilePath("category"));
    BaseData::resetForTesting();
    EXPECT_EQ(BaseData::getCategories().size(), 2u);
    EXPECT_EQ(server_.countOf(kCategoryPath), 1u);
}

TEST_F(BaseDataTest, AnEmptyShippedFileAlsoFallsBack) {
    ship("category", "[]");
    server_.onJson(kCategoryPath, envelope(R"([{"categoryId": 1, "name": "美食", "icon": "ca_food"}])"));
    EXPECT_EQ(BaseData::getCategories().size(), 1u);
    EXPECT_EQ(server_.countOf(kCategoryPath), 1u);
}

TEST_F(BaseDataTest, RefusalsGiveAnEmptyListLoadedOncePerRun) {
    struct Case {
        const char* body;
        int status;
    };
    const Case cases[] = {
        {R"({"success": false, "errorInfo": "忙"})", 200},
        {R"({"success": 1, "result": [{"categoryId": 1}]})", 200},
        {R"({"success": true, "result": {"categoryId": 1}})", 200},
        {R"(<html>)", 200},
        {R"({"success": true, "result": [{"categoryId": 1}]})", 500},
    };
    for (const auto& c : cases) {
        BaseData::resetForTesting();
        server_.clearRequests();
        server_.onJson(kCategoryPath, c.body, c.status);
        EXPECT_TRUE(BaseData::getCategories().empty()) << c.body;
        EXPECT_TRUE(BaseData::getCategories().empty()) << c.body;
        EXPECT_EQ(BaseData::indexOfCategory(1), -1);
        EXPECT_EQ(server_.countOf(kCategoryPath), 1u) << c.body;
        EXPECT_FALSE(fs::exists(BaseData::downloadedFilePath("category")));
    }

    // Nobody listening at all.
    std::string closedUrl;
    {
        test::ScriptedServer gone;
        closedUrl = gone.url();
    }
    UrlUtils::setBaseUrl(closedUrl);
    EXPECT_TRUE(BaseData::getProfessions().empty());
    EXPECT_TRUE(BaseData::getProvinces().empty());
    EXPECT_TRUE(BaseData::getCitiesWithProvinceId(11).empty());
}

TEST_F(BaseDataTest, ProfessionsKeepTheirOwnOrder) {
    // The last member of an element in the file's own order names the profession.
    ship("profession", R"([{"12": "教师"}, {"30": "律师"}, {"9": "旧", "2": "医生"}, {}, {"7": 5}])");
    auto professions = BaseData::getProfessions();
    ASSERT_EQ(professions.size(), 5u);
    EXPECT_EQ(professions[0]->professionId, "12");
    EXPECT_EQ(professions[0]->professionIdValue(), 12);
    EXPECT_EQ(professions[0]->name, "教师");
    EXPECT_EQ(professions[1]->name, "律师");
    EXPECT_EQ(professions[2]->professionId, "2");
    EXPECT_EQ(professions[2]->name, "医生");
    EXPECT_EQ(professions[3]->professionId, "");
    EXPECT_EQ(professions[4]->name, "");
    EXPECT_TRUE(server_.requests().empty());

    // Over the network too.
    BaseData::resetForTesting();
    fs::remove(resources_ / "profession");
    server_.onJson(kProfessionPath, envelope(R"([{"5": "厨师"}, {"3": "工程师", "1": "学生"}])"));
    professions = BaseData::getProfessions();
    ASSERT_EQ(professions.size(), 2u);
    EXPECT_EQ(professions[1]->professionId, "1");
    EXPECT_EQ(professions[1]->name, "学生");
}

TEST_F(BaseDataTest, CitiesAreGroupedByProvinceEvenWithoutTheProvince) {
    server_.onJson(kProvincePath, envelope(R"({
        "provinceList": [{"provinceId": 11, "provinceName": "北京市"}, {"provinceId": 31, "provinceName": "上海市"}],
        "cityList": [{"cityId": 110101, "cityName": "东城区", "provinceId": 11},
                     {"cityId": 990001, "cityName": "无主城", "provinceId": 99},
                     {"cityId": 110102, "cityName": "西城区", "provinceId": 11}]})"));
    EXPECT_TRUE(BaseData::getCitiesWithProvinceId(11).empty());
    auto provinces = BaseData::getProvinces();
    ASSERT_EQ(provinces.size(), 2u);
    EXPECT_EQ(BaseData::indexOfProvinces(31), 1);
    auto beijing = BaseData::getCitiesWithProvinceId(11);
    ASSERT_EQ(beijing.size(), 2u);
    EXPECT_EQ(beijing[1]->name, "西城区");
    EXPECT_EQ(BaseData::indexOfCities(110102, 11), 1);
    EXPECT_EQ(BaseData::getCitiesWithProvinceId(99).size(), 1u);
    EXPECT_TRUE(BaseData::getCitiesWithProvinceId(31).empty());
    EXPECT_TRUE(fs::exists(BaseData::downloadedFilePath("province")));
}

}  // namespace
}  // namespace zorlet
