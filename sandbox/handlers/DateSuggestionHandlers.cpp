#include "sandbox/handlers/DateSuggestionHandlers.h"

#include "sandbox/Envelope.h"
#include "sandbox/Routes.h"

#include <iterator>
#include <random>

namespace zorlet::sandbox {

namespace {

const char* const suggestions[] = {
    "周末天气不错，一起去郊外爬山吧？",       "听说新开了一家火锅店，要不要一起去尝尝？",
    "最近有部电影口碑很好，周末一起去看吧！", "美术馆有个新展，想约你一起去逛逛。",
    "找个安静的咖啡馆坐坐，聊聊天怎么样？",   "周六晚上有场音乐会，一起去听吧？",
    "天气这么好，一起去公园骑车野餐吧！",     "周末有个创意市集，要不要一起去淘点小东西？",
    "下班后一起去夜跑吧，跑完去吃宵夜！",     "想去看一场小剧场话剧，你有兴趣吗？",
};

Reply suggestion(Call&) {
    thread_local std::mt19937 generator{std::random_device{}()};
    std::uniform_int_distribution<size_t> pick(0, std::size(suggestions) - 1);
    return Envelope::ok(suggestions[pick(generator)]);
}

}  // namespace

void DateSuggestionHandlers::install(Routes& routes) {
    routes.api("/dialog/v133/dateRandom", Access::SignedIn, suggestion);
}

}  // namespace zorlet::sandbox
