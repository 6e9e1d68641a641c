// Building and laying out 1,000 rows of the users feed: each list element is
// converted to a User with its post, its row height is measured with real
// text layout, and the row is filled as the table would show it. Reports
// rows per second.
#include "model/RecordConverters.h"
#include "model/User.h"
#include "net/RecordRegistry.h"
#include "people/UserListCell.h"
#include "platform/Json.h"

#include <benchmark/benchmark.h>

namespace {

zorlet::Json feedRows(int count) {
    static const char* const contents[] = {
        "有人一起吗？早上八点出发，中午野餐。",
        "周末想去看个展览，顺便喝杯咖啡，最好是下午。",
        "去吃火锅",
        "想找人一起骑行，从奥森出发绕一圈，大约三十公里，速度不快，欢迎新手一起来玩，路上可以拍拍照。",
    };
    zorlet::Json list = zorlet::Json::array();
    for (int i = 1; i <= count; ++i) {
        zorlet::Json user = {{"uid", i},
                             {"nickname", "用户" + std::to_string(i)},
                             {"gender", i % 2},
                             {"birthYear", 1980 + i % 20},
                             {"profession", "设计师"},
                             {"onlineStatus", i % 3},
                             {"location", {116.4 + i * 1e-4, 39.9 + i * 1e-4}}};
        if (i % 8 != 0) {
            user["postView"] = {
                {"postId", 10000 + i},
                {"purpose", "周末去香山爬山"},
                {"content", contents[i % 4]},
                {"bigPic", i % 2 == 0 ? zorlet::Json() : zorlet::Json("http://127.0.0.1:1/p.jpg")},
                {"respCnt", i % 7},
                {"createUid", i}};
        }
        list.push_back(user);
    }
    return list;
}

void BuildAndLayOutFeedRows(benchmark::State& state) {
    zorlet::RecordConverters::registerAll();
    const auto* convert = zorlet::RecordRegistry::converterFor("User");
    const zorlet::Json rows = feedRows(1000);
    auto cell = zorlet::UserListCell::cellFromNib();
    for (auto _ : state) {
        double total = 0;
        for (const auto& element : rows) {
            auto user = std::static_pointer_cast<zorlet::User>((*convert)(element));
            total += zorlet::UserListCell::heightForCell(*user);
            user->bigLogo.clear();  // no picture loads: layout only
            if (user->post) {
                user->post->bigPic.clear();
            }
            cell->redrawn(user);
        }
        benchmark::DoNotOptimize(total);
    }
    state.SetItemsProcessed(state.iterations() * static_cast<std::int64_t>(rows.size()));
    state.counters["rows/s"] = benchmark::Counter(static_cast<double>(state.iterations() * rows.size()),
                                                  benchmark::Counter::kIsRate);
}
BENCHMARK(BuildAndLayOutFeedRows)->Unit(benchmark::kMillisecond);

}  // namespace
