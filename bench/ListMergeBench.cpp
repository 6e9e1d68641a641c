// Decoding and merging one 1,000-record page of users with their latest posts
// into a list, against the bare JSON parse of the same page, in turns.
#include "PairedRuns.h"

#include "model/RecordConverters.h"
#include "net/ListHttpRequestDelegate.h"
#include "platform/Json.h"

#include <benchmark/benchmark.h>

namespace {

std::string usersPage(int count) {
    zorlet::Json list = zorlet::Json::array();
    for (int i = 1; i <= count; ++i) {
        list.push_back({{"uid", i},
                        {"nickname", "用户" + std::to_string(i)},
                        {"gender", i % 2},
                        {"bigLogo", "http://127.0.0.1/pic/" + std::to_string(i) + ".jpg"},
                        {"birthYear", 1980 + i % 20},
                        {"profession", "设计师"},
                        {"cityName", "北京"},
                        {"onlineStatus", i % 3},
                        {"location", {116.4 + i * 1e-4, 39.9 + i * 1e-4}},
                        {"postView",
                         {{"postId", 10000 + i},
                          {"purpose", "周末去香山爬山"},
                          {"content", "有人一起吗？早上八点出发，中午野餐。"},
                          {"place", "香山公园"},
                          {"date", "周六 08:00"},
                          {"respCnt", i % 7},
                          {"createUid", i}}}});
    }
    zorlet::Json envelope = {
        {"success", true},
        {"result",
         {{"pager", {{"currentPage", 1}, {"maxResult", count}, {"totalPage", 1}, {"hasNext", false}}},
          {"list", list}}}};
    return envelope.dump();
}

const std::string& page() {
    static const std::string body = usersPage(1000);
    return body;
}

void decodeAndMerge() {
    zorlet::ListHttpRequestDelegate delegate;
    delegate.zlData = std::make_shared<zorlet::ZLData>();
    delegate.viewClassName = "User";
    delegate.mergeResponse(page());
    benchmark::DoNotOptimize(delegate.zlData->count());
}

void bareParse() {
    auto parsed = zorlet::parseJson(page());
    benchmark::DoNotOptimize(parsed->size());
}

void DecodeAndMergeUsersPage(benchmark::State& state) {
    zorlet::RecordConverters::registerAll();
    zorlet::bench::runPaired(state, decodeAndMerge, bareParse);
}
BENCHMARK(DecodeAndMergeUsersPage)->Unit(benchmark::kMillisecond);

}  // namespace
