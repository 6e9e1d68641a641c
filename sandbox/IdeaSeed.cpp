#include "sandbox/IdeaSeed.h"

#include "sandbox/Connection.h"
#include "sandbox/IdeaPainter.h"
#include "sandbox/Pictures.h"
#include "sandbox/ReferenceData.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <optional>

namespace zorlet::sandbox {

namespace {

constexpr int postersPerCategory = 2;

struct SeedCity {
    const char* name;
    double longitude;
    double latitude;
};

const SeedCity seedCities[] = {
    {"北京", 116.397, 39.909}, {"上海", 121.473, 31.230}, {"广州", 113.264, 23.129},
    {"杭州", 120.155, 30.274}, {"成都", 104.066, 30.572},
};

struct SeedIdea {
    int category;  // 1..12, as in the category list
    int city;      // index into seedCities
    const char* content;
    const char* town;
    const char* place;
    int charge;  // -1: no price given
    const char* detail;
};

const SeedIdea seedIdeas[IdeaSeed::ideaCount] = {
    {1, 0, "去簋街吃一顿麻辣小龙虾", "东城区", "簋街", 150, "夜里十点以后才是簋街最热闹的时候，排队也值得。"},
    {1, 1, "在老弄堂里吃一碗葱油拌面", "黄浦区", "云南南路美食街", 20,
     "面要趁热拌，葱油香得让人想再来一碗。"},
    {1, 2, "早起去喝一顿地道早茶", "越秀区", "北京路老字号茶楼", 80, "虾饺、肠粉、凤爪，一盅两件慢慢聊。"},
    {1, 3, "到西湖边吃一顿杭帮菜", "西湖区", "楼外楼", 200, ""},
    {1, 4, "一起去吃一顿正宗的成都火锅", "锦江区", "玉林路", 120, "微辣是底线，怕辣的可以点鸳鸯锅。"},
    {2, 0, "去小西天看一场老电影", "西城区", "中国电影资料馆", 30,
     "每周都有经典修复版放映，散场后可以去新街口逛逛。"},
    {2, 1, "电影节期间一起刷片", "徐汇区", "上海影城", 60, ""},
    {2, 2, "露天电影之夜", "海珠区", "红专厂", 0, "自带野餐垫，天黑就开场。"},
    {2, 3, "周末去看新上映的动画片", "拱墅区", "运河上街影城", 45, ""},
    {2, 4, "去独立影院看一部文艺片", "武侯区", "玉林小剧场影院", 40, "映后有导演交流。"},
    {3, 0, "去livehouse听一场独立乐队", "东城区", "MAO Livehouse", 120, "站着听最过瘾，记得早点去占前排。"},
    {3, 1, "看一场沉浸式话剧", "静安区", "麦金侬酒店", 380, "戴上面具跟着演员穿梭在五层楼里。"},
    {3, 2, "听一场粤剧专场", "荔湾区", "广东粤剧院", 100, ""},
    {3, 3, "西湖边的户外音乐节", "西湖区", "太子湾公园", 280, "两天三个舞台，带好防晒。"},
    {3, 4, "看一场川剧变脸", "青羊区", "蜀风雅韵", 160, "变脸、吐火、滚灯，一晚看遍川剧绝活。"},
    {4, 0, "去798看当代艺术展", "朝阳区", "798艺术区", 0, "几十家画廊可以逛一整天，饿了就在园区里吃。"},
    {4, 1, "上海博物馆看青铜器", "黄浦区", "上海博物馆", 0, ""},
    {4, 2, "逛一场设计周", "天河区", "保利世贸博览馆", 50, "家居、灯具、面料，看完就想回家改造房间。"},
    {4, 3, "中国美院毕业展", "上城区", "中国美术学院南山校区", 0, ""},
    {4, 4, "去看一场熊猫主题摄影展", "锦江区", "成都当代影像馆", 30, "拍熊猫的摄影师会在周六做导览。"},
    {5, 0, "周末去奥森跑个十公里", "朝阳区", "奥林匹克森林公园", 0,
     "南园门口集合，配速六分左右，跑完一起吃早饭。"},
    {5, 1, "滨江骑行", "徐汇区", "徐汇滨江", 0, "沿着江边骑到前滩，全程二十公里。"},
    {5, 2, "晚上打一场羽毛球", "天河区", "天河体育中心", 40, "场地已经订好，缺两个人双打。"},
    {5, 3, "去攀岩馆体验抱石", "滨江区", "岩时攀岩馆", 90, ""},
    {5, 4, "绿道夜跑", "高新区", "锦城绿道", 0, ""},
    {6, 0, "秋天去香山看红叶", "海淀区", "香山公园", 10, "早上七点前进山人少，从东门上，北门下。"},
    {6, 1, "去佘山露营看星星", "松江区", "佘山国家森林公园", 0, "帐篷可以借，记得带厚外套。"},
    {6, 2, "白云山徒步", "白云区", "白云山", 5, "从南门走到摩星岭，来回大约三个小时。"},
    {6, 3, "九溪十八涧溯溪", "西湖区", "九溪烟树", 0, "穿能下水的鞋，夏天最舒服。"},
    {6, 4, "青城山后山徒步", "都江堰市", "青城后山", 90, "两天一夜，住山里的客栈。"},
    {7, 0, "坐绿皮火车去古北水镇", "密云区", "古北水镇", 150, "晚上的长城夜景很美，住一晚第二天爬司马台。"},
    {7, 1, "去朱家角古镇走走", "青浦区", "朱家角", 0, ""},
    {7, 2, "周末短途去顺德吃吃吃", "顺德区", "清晖园", 0, "双皮奶、鱼生、煲仔饭，两天吃八顿。"},
    {7, 3, "骑车环千岛湖", "淳安县", "千岛湖", 300, "骑行一百四十公里，分两天完成。"},
    {7, 4, "去稻城亚丁看雪山", "稻城县", "亚丁景区", 2000, "高原反应因人而异，出发前多休息。"},
    {8, 0, "胡同里的桌游之夜", "东城区", "南锣鼓巷", 50, "狼人杀、阿瓦隆，新手也能很快上手。"},
    {8, 1, "周五下班一起去小酒馆", "静安区", "巨鹿路", 100, ""},
    {8, 2, "江边烧烤聚会", "海珠区", "琶洲滨江", 60, "食材大家分工带，烧烤架已备好。"},
    {8, 3, "读书会第十二期", "西湖区", "晓风书屋", 0, "这期读《看不见的城市》，读到哪里算哪里。"},
    {8, 4, "火锅局认识新朋友", "锦江区", "春熙路", 80, ""},
    {9, 0, "找一家安静的咖啡馆看书", "西城区", "杨梅竹斜街", 40, "带一本书，待一个下午。"},
    {9, 1, "武康路咖啡馆探店", "徐汇区", "武康路", 50, "一下午探三家，拍照的人多，早点去。"},
    {9, 2, "喝一次工夫茶", "荔湾区", "芳村茶叶市场", 0, ""},
    {9, 3, "龙井村采茶品茶", "西湖区", "龙井村", 100, "清明前后最好，采完可以请茶农帮忙炒。"},
    {9, 4, "人民公园喝盖碗茶", "青羊区", "人民公园鹤鸣茶社", 15, "掏耳朵、打麻将，体验最成都的下午。"},
    {10, 0, "听一场关于城市规划的讲座", "海淀区", "清华大学建筑馆", 0, "讲座后有自由交流，欢迎提问。"},
    {10, 1, "参加一次设计师分享会", "黄浦区", "外滩美术馆", 0, ""},
    {10, 2, "听一场天文科普讲座", "天河区", "广州科学中心", 0, "讲座结束后可以用天文台的望远镜看月亮。"},
    {10, 3, "独立书店的作者签售", "上城区", "单向空间", 0, ""},
    {10, 4, "川菜文化沙龙", "郫都区", "川菜博物馆", 60, "听川菜的历史，再亲手炒一盘回锅肉。"},
    {11, 0, "周末逛潘家园淘旧货", "朝阳区", "潘家园旧货市场", 0, "周六早上货最全，讲价要有耐心。"},
    {11, 1, "去田子坊逛小店", "黄浦区", "田子坊", 0, ""},
    {11, 2, "逛一次花市", "越秀区", "西湖路花市", 0, "年前的花市最热闹，买一盆年桔回家。"},
    {11, 3, "河坊街买手信", "上城区", "河坊街", 0, ""},
    {11, 4, "太古里逛街", "锦江区", "远洋太古里", -1, "逛累了去大慈寺里坐一坐。"},
    {12, 0, "去流浪动物救助站做志愿者", "昌平区", "流浪动物救助站", 0, "帮忙遛狗、打扫，结束后可以领养。"},
    {12, 1, "给山区孩子整理图书", "杨浦区", "社区公益中心", 0, ""},
    {12, 2, "海滩清洁行动", "南沙区", "南沙滨海公园", 0, "手套和垃圾袋由组织方提供。"},
    {12, 3, "西湖边无痕山林活动", "西湖区", "宝石山", 0, "一边爬山一边捡垃圾。"},
    {12, 4, "陪社区老人过周末", "武侯区", "玉林社区养老院", 0, "陪老人聊天、下棋，带上耐心就好。"},
};

std::string displayTime(std::int64_t when) {
    std::time_t time = static_cast<std::time_t>(when);
    std::tm local{};
    localtime_r(&time, &local);
    char text[48];
    std::snprintf(text, sizeof text, "%d月%d日 %02d:%02d", local.tm_mon + 1, local.tm_mday, local.tm_hour,
                  local.tm_min);
    return text;
}

std::string withoutCitySuffix(std::string name) {
    const std::string suffix = "市";
    if (name.size() > suffix.size() &&
        name.compare(name.size() - suffix.size(), suffix.size(), suffix) == 0) {
        name.resize(name.size() - suffix.size());
    }
    return name;
}

// How many demo users want to go to idea `index`: the first two have more than a page of takers.
int takerCount(int index) {
    if (index == 0) {
        return 30;
    }
    if (index == 1) {
        return 22;
    }
    return (index * 7) % 9;
}

}  // namespace

std::vector<std::string> IdeaSeed::paint() {
    std::vector<std::string> posters;
    for (int category = 0; category < 12; ++category) {
        for (int variation = 0; variation < postersPerCategory; ++variation) {
            posters.push_back(IdeaPainter::poster(category, variation));
        }
    }
    return posters;
}

void IdeaSeed::plant(Connection& connection, const ReferenceData& reference, Pictures& pictures,
                     const std::vector<std::string>& posters, std::int64_t demoUid, std::int64_t now) {
    std::vector<std::string> posterNames;
    for (const auto& poster : posters) {
        auto name = pictures.store(
            connection, poster,
            Pictures::Checked{Pictures::Kind::Png, IdeaPainter::pictureWidth, IdeaPainter::pictureHeight},
            std::nullopt);
        posterNames.push_back(name.value_or(""));
    }
    std::vector<std::int64_t> takers;
    auto users = connection.prepare("SELECT uid FROM users WHERE uid != ? ORDER BY uid");
    users.bind(1, demoUid);
    while (users.step()) {
        takers.push_back(users.integer(0));
    }

    auto insertIdea = connection.prepare(
        "INSERT INTO ideas (content, place, start_time, end_time, charge, city_id, city_name, town_name, "
        "category_id, category_name, pic, detail, longitude, latitude, use_count, created) "
        "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    auto insertWant = connection.prepare("INSERT INTO idea_wants (idea_id, uid, created) VALUES (?, ?, ?)");
    for (int i = 0; i < ideaCount; ++i) {
        const auto& seed = seedIdeas[i];
        const auto& city = seedCities[seed.city];
        auto cityInfo = reference.cityNamed(city.name);
        std::string startTime;
        std::string endTime;
        if (i % 3 == 0) {
            auto start = now + (1 + i % 7) * 86400 + 3600 * (i % 5);
            startTime = displayTime(start);
            endTime = displayTime(start + 3 * 3600);
        } else if (i % 5 == 1) {
            endTime = displayTime(now + (10 + i % 9) * 86400);
        }
        auto categoryName = reference.categoryName(seed.category).value_or("");
        size_t poster =
            static_cast<size_t>((seed.category - 1) * postersPerCategory + i % postersPerCategory);
        int count = std::min<int>(takerCount(i), static_cast<int>(takers.size()));
        // Spread around the centre by a few kilometres, the same on every run.
        double longitude = city.longitude + ((i * 37) % 21 - 10) * 0.004;
        double latitude = city.latitude + ((i * 53) % 21 - 10) * 0.003;
        insertIdea.reset();
        insertIdea.bind(1, seed.content)
            .bind(2, seed.place)
            .bind(3, startTime)
            .bind(4, endTime)
            .bind(5,
                  seed.charge < 0 ? std::optional<std::int64_t>() : std::optional<std::int64_t>(seed.charge))
            .bind(6, cityInfo ? cityInfo->cityId : 0)
            .bind(7, withoutCitySuffix(cityInfo ? cityInfo->cityName : city.name))
            .bind(8, seed.town)
            .bind(9, seed.category)
            .bind(10, categoryName)
            .bind(11, poster < posterNames.size() ? posterNames[poster] : "")
            .bind(12, seed.detail)
            .bind(13, longitude)
            .bind(14, latitude)
            .bind(15, count)
            // Newest first in the list follows the table's order.
            .bind(16, now - (ideaCount - i) * 1800);
        insertIdea.run();
        auto ideaId = connection.lastInsertId();
        for (int t = 0; t < count; ++t) {
            insertWant.reset();
            insertWant.bind(1, ideaId)
                .bind(2, takers[static_cast<size_t>(i * 5 + t) % takers.size()])
                .bind(3, now - (t + 1) * 5400)
                .run();
        }
    }
}

}  // namespace zorlet::sandbox
