#include "net/ListHttpRequestDelegate.h"
#include "net/RecordRegistry.h"
#include "net/ZLData.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace zorlet::test {
namespace {

struct NamedRecord : Record {
    std::int64_t id = 0;
    std::string name;
    std::int64_t objIdentity() const override { return id; }
};

RecordPtr named(std::int64_t id, std::string name) {
    auto record = std::make_shared<NamedRecord>();
    record->id = id;
    record->name = std::move(name);
    return record;
}

std::vector<std::string> names(const ZLData& data) {
    std::vector<std::string> out;
    for (const auto& record : data.data()) {
        out.push_back(std::static_pointer_cast<NamedRecord>(record)->name);
    }
    return out;
}

std::string page(int current, bool hasNext, const std::string& list) {
    return R"({"success":true,"result":{"pager":{"currentPage":)" + std::to_string(current) +
           R"(,"maxResult":20,"totalPage":3,"totalResults":45,"hasPre":false,"hasNext":)" +
           (hasNext ? "true" : "false") + R"(},"list":)" + list + "}}";
}

struct DoneCounter : ListLoadingTarget {
    int done = 0;
    void doneLoadingTableViewData() override { ++done; }
};

class ListMergeTest : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        RecordRegistry::registerConverter("TestRecord", [](const Json& object) -> RecordPtr {
            return named(jsonInt(object, "id"), jsonString(object, "name"));
        });
    }
    void SetUp() override {
        delegate_.zlData = data_;
        delegate_.viewClassName = "TestRecord";
        delegate_.listViewController = screen_;
    }
    ZLDataPtr data_ = std::make_shared<ZLData>();
    std::shared_ptr<DoneCounter> screen_ = std::make_shared<DoneCounter>();
    ListHttpRequestDelegate delegate_;
};

TEST(PagerTest, ReadsAllSixFieldsAndMissingOnesAsZero) {
    auto pager = Pager::pagerConvertFromDictionary(Json::parse(
        R"({"currentPage":2,"maxResult":20,"totalPage":5,"totalResults":99,"hasPre":true,"hasNext":true})"));
    EXPECT_EQ(pager->currentPage, 2);
    EXPECT_EQ(pager->nextPage(), 3);
    EXPECT_EQ(pager->totalResults, 99);
    EXPECT_TRUE(pager->hasPre);
    pager->updatePagerFromDictionary(Json::parse(R"({"currentPage":"4"})"));
    EXPECT_EQ(pager->currentPage, 4);
    EXPECT_EQ(pager->maxResult, 0);
    EXPECT_FALSE(pager->hasNext);
}

TEST(ZLDataTest, IdentityChecksAndRemovalKeepTheIdentity) {
    ZLData data;
    data.addObject(named(1, "A"), 1);
    data.addObject(named(1, "A again"), 1);
    data.insertObjectAtHead(named(2, "B"), 2);
    data.addObject(named(1, "unchecked"));
    EXPECT_EQ(names(data), (std::vector<std::string>{"B", "A", "unchecked"}));
    data.removeObjectAtIndex(0);
    data.addObject(named(2, "B back"), 2);
    EXPECT_EQ(names(data), (std::vector<std::string>{"A", "unchecked"}));
    data.addIdentity(9);
    data.addObject(named(9, "sent by me"), 9);
    EXPECT_EQ(data.count(), 2u);
    data.removeObjectAtIndex(17);
    data.clear();
    data.addObject(named(2, "B after refresh"), 2);
    EXPECT_EQ(names(data), (std::vector<std::string>{"B after refresh"}));
}

TEST(ZLDataTest, CellRowsCountTheMoreRowOnlyWhileThereIsANextPage) {
    ZLData data;
    data.addObject(named(1, "A"), 1);
    EXPECT_EQ(data.cellRows(), 1u);
    data.loadPager(Json::parse(R"({"currentPage":1,"hasNext":true})"));
    EXPECT_EQ(data.cellRows(), 2u);
    data.loadPager(Json::parse(R"({"currentPage":2,"hasNext":false})"));
    EXPECT_EQ(data.cellRows(), 1u);
}

TEST(ZLDataTest, OnlyAnUpdatedFirstPageClearsAndTheVeryFirstAnswerNever) {
    auto data = std::make_shared<ZLData>();
    data->addObject(named(1, "A"), 1);
    data->loadPager(Json::parse(R"({"currentPage":1})"));
    EXPECT_EQ(data->count(), 1u) << "creating the pager must not clear";
    data->loadPager(Json::parse(R"({"currentPage":2})"));
    EXPECT_EQ(data->count(), 1u);
    data->loadPager(Json::parse(R"({"currentPage":1})"));
    EXPECT_EQ(data->count(), 0u);

    auto fresh = ZLData::loadPager(Json::parse(R"({"currentPage":3})"), nullptr);
    EXPECT_EQ(fresh->pager()->currentPage, 3);
    EXPECT_EQ(ZLData::loadPager(Json::parse(R"({"currentPage":1})"), data), data);
}

TEST_F(ListMergeTest, FirstPageThenSecondPageAppendsWithoutDuplicates) {
    delegate_.mergeResponse(page(1, true, R"([{"id":1,"name":"A"},{"id":2,"name":"B"}])"));
    delegate_.mergeResponse(page(2, false, R"([{"id":2,"name":"B dup"},{"id":3,"name":"C"}])"));
    EXPECT_EQ(names(*data_), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(data_->cellRows(), 3u);
    EXPECT_EQ(screen_->done, 2);

    // A refresh starts over, and the removed record may come back then.
    data_->removeObjectAtIndex(0);
    delegate_.mergeResponse(page(2, false, R"([{"id":1,"name":"A"}])"));
    EXPECT_EQ(names(*data_), (std::vector<std::string>{"B", "C"}));
    delegate_.mergeResponse(page(1, false, R"([{"id":1,"name":"A"}])"));
    EXPECT_EQ(names(*data_), (std::vector<std::string>{"A"}));
}

TEST_F(ListMergeTest, AddToHeadPutsThePageReversedAboveOldRows) {
    data_->addObject(named(100, "X"), 100);
    delegate_.addToHead = true;
    delegate_.mergeResponse(
        page(2, false, R"([{"id":1,"name":"A"},{"id":2,"name":"B"},{"id":3,"name":"C"}])"));
    EXPECT_EQ(names(*data_), (std::vector<std::string>{"C", "B", "A", "X"}));
}

TEST_F(ListMergeTest, RefusalsAndOddListsChangeNoRowsButEndLoading) {
    delegate_.mergeResponse(page(1, true, R"([{"id":1,"name":"A"}])"));
    delegate_.mergeResponse(R"({"success":0,"result":{"pager":{"currentPage":1},"list":[{"id":5}]}})");
    delegate_.mergeResponse("<html>not json</html>");
    EXPECT_EQ(names(*data_), (std::vector<std::string>{"A"}));

    delegate_.mergeResponse(
        R"({"success":true,"result":{"pager":{"currentPage":2,"hasNext":false},"list":null}})");
    EXPECT_EQ(data_->pager()->currentPage, 2);
    EXPECT_EQ(data_->cellRows(), 1u);
    delegate_.mergeResponse(
        R"({"success":true,"result":{"pager":{"currentPage":3},"list":[1,"x",null,{"id":7,"name":"G"}]}})");
    EXPECT_EQ(names(*data_), (std::vector<std::string>{"A", "G"}));
    EXPECT_EQ(screen_->done, 5);

    delegate_.mergeResponse(page(1, false, "[]"));
    EXPECT_EQ(data_->count(), 0u);
    EXPECT_EQ(data_->cellRows(), 0u);
}

TEST_F(ListMergeTest, AScreenThatWentAwayHearsNothing) {
    screen_.reset();
    delegate_.mergeResponse(page(1, false, R"([{"id":1,"name":"A"}])"));
    EXPECT_EQ(data_->count(), 1u);
}

}  // namespace
}  // namespace zorlet::test
