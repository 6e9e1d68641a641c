#include "sandbox/DemoSeed.h"

#include "sandbox/Accounts.h"
#include "sandbox/AvatarPainter.h"
#include "sandbox/Connection.h"
#include "sandbox/Dialogs.h"
#include "sandbox/ExternalSeed.h"
#include "sandbox/IdeaSeed.h"
#include "sandbox/Pictures.h"
#include "sandbox/ReferenceData.h"
#include "sandbox/SocialSeed.h"

#include <algorithm>
#include <cstdio>
#include <ctime>
#include <vector>

namespace zorlet::sandbox {

namespace {

constexpr int sceneryCount = 8;

// A fixed generator, so the demo world is the same everywhere.
class Dice {
public:
    explicit Dice(std::uint64_t seed) : state_(seed) {}
    std::uint64_t next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 7;
        state_ ^= state_ << 17;
        return state_;
    }
    int below(int limit) { return static_cast<int>(next() % static_cast<std::uint64_t>(limit)); }
    // Uniform in [-1, 1].
    double spread() { return static_cast<double>(next() % 20001) / 10000.0 - 1.0; }

private:
    std::uint64_t state_;
};

struct Town {
    std::vector<CityInfo> cities;  // the city, or the districts of a city-province
    double longitude;
    double latitude;
    std::vector<const char*> places;
};

const char* const nicknames[DemoSeed::otherUsers] = {
    "小鹿乱撞", "阿杰",   "晴天娃娃", "米粒",       "大白",     "橙子", "周末去哪儿", "老猫",
    "青柠",     "一只鱼", "木木",     "跑步的兔子", "北漂小王", "豆豆", "阿狸",       "摄影师小陈",
    "小满",     "山野",   "吃货阿宝", "安静的风",   "糖糖",     "大海", "向日葵",     "阿飞",
    "小雨点",   "骑行者", "布丁",     "远方",       "懒羊羊",   "石头", "芒果",       "夜猫子",
    "七七",     "老张",   "樱桃",     "小北",       "云朵",     "阿木", "西瓜",       "旅行家",
};

const char* const features[] = {
    "喜欢户外和摄影，周末总想往山里跑。",
    "吃货一枚，求带去好吃的小馆子。",
    "刚来这座城市，想认识些有趣的朋友。",
    "话剧、展览、livehouse，来者不拒。",
    "程序员，下班后想离开电脑。",
    "",
    "爱猫人士，偶尔也爱狗。",
    "骑车、跑步、游泳，运动让我快乐。",
};

// Conversations of the demo account: who opens, then turns alternating.
struct DemoDialog {
    bool demoSpeaksFirst;
    std::vector<const char*> lines;
};

const DemoDialog demoDialogs[] = {
    {false, {"你好呀，看到你也想去香山？", "对呀，周六上午出发怎么样？", "好，九点东门见！"}},
    {true, {"上次推荐的咖啡馆真不错", "哈哈，下次一起去试试他们家的甜点"}},
    {false, {"周末有空吗？想约你去看展", "这周末可以，哪个展？", "美术馆的新展，听说很棒"}},
    {false, {"你的照片拍得真好看"}},
    {true, {"火锅约起来？", "必须的！", "那就周五晚上"}},
    {false, {"骑行路线发你了，看看"}},
    {true, {"音乐会的票还有吗？", "还有一张，给你留着"}},
    {false, {"明天夜跑吗？", "跑！老地方见"}},
    {true, {"市集上那家手工店叫什么？"}},
    {false, {"羽毛球缺人，来不来？", "来，几点？", "晚上七点"}},
    {false, {"推荐一部电影给你：很治愈"}},
    {true, {"烘焙课报名了吗？", "报了，下周二开课"}},
    {false, {"好久不见，最近去哪玩了？"}},
    {true, {"话剧票买到了！", "太好了，几排？", "第五排中间"}},
    {false, {"一起去后海划船吧"}},
    {true, {"谢谢你的推荐，那家店很好吃"}},
};

struct PostIdea {
    const char* purpose;
    const char* content;
    bool withPlace;
    bool withDate;
};

const PostIdea postIdeas[] = {
    {"周末爬山", "天气不错，想去郊外爬山，有人一起吗？", true, true},
    {"看电影", "新上映的那部片子口碑很好，找个伴一起看。", true, false},
    {"吃火锅", "好久没吃火锅了，约起来！", true, true},
    {"看展览", "美术馆新展开幕，想找懂画的朋友一起逛。", true, true},
    {"骑行", "沿河骑一圈，大概三十公里，节奏不快。", false, true},
    {"喝咖啡", "发现一家很安静的咖啡馆，下午一起坐坐？", true, false},
    {"听音乐会", "周六晚上的音乐会还有一张票。", true, true},
    {"打羽毛球", "每周固定打球，缺一个搭档。", true, false},
    {"逛市集", "周日有创意市集，去淘点小东西。", true, true},
    {"夜跑", "晚上九点公园夜跑，五公里左右。", false, false},
    {"学做菜", "想找人一起去上烘焙课。", false, true},
    {"看话剧", "想看一场小剧场话剧，有推荐吗？", false, false},
};

// The reference lists may file a municipality as a province of districts; use its first few districts.
std::vector<CityInfo> townCities(const ReferenceData& reference, const std::string& name, CityInfo fallback) {
    if (auto city = reference.cityNamed(name)) {
        return {*city};
    }
    auto districts = reference.citiesOfProvince(name);
    if (districts.empty()) {
        return {fallback};
    }
    districts.resize(std::min<size_t>(districts.size(), 6));
    return districts;
}

std::string formatDate(std::int64_t when) {
    std::time_t time = static_cast<std::time_t>(when);
    std::tm local{};
    localtime_r(&time, &local);
    char text[48];
    std::snprintf(text, sizeof text, "%04d-%02d-%02d", local.tm_year + 1900, local.tm_mon + 1, local.tm_mday);
    return text;
}

std::string storePicture(Connection& connection, Pictures& pictures, const std::string& png, int width,
                         int height, std::optional<std::int64_t> uid) {
    auto name = pictures.store(connection, png, Pictures::Checked{Pictures::Kind::Png, width, height}, uid);
    return name.value_or("");
}

// The demo account talks with the first users, the latest conversation first; the
// other side's last line is unread in every third one, and a few carry a picture.
void plantDialogs(Connection& connection, std::int64_t demoUid, const std::vector<std::int64_t>& others,
                  std::int64_t now, const std::vector<std::string>& sceneries) {
    // Oldest conversation first, so message ids grow with time as they do in use.
    for (auto dialogIndex = static_cast<std::int64_t>(std::size(demoDialogs)) - 1; dialogIndex >= 0;
         --dialogIndex) {
        if (static_cast<std::size_t>(dialogIndex) >= others.size()) {
            continue;
        }
        const auto& dialog = demoDialogs[static_cast<std::size_t>(dialogIndex)];
        auto other = others[static_cast<std::size_t>(dialogIndex)];
        // Older conversations end earlier, so the list's order is the seed's order.
        auto when = now - dialogIndex * 3600 - static_cast<std::int64_t>(dialog.lines.size()) * 120;
        bool demoSpeaks = dialog.demoSpeaksFirst;
        std::size_t lineIndex = 0;
        for (const char* line : dialog.lines) {
            bool last = lineIndex + 1 == dialog.lines.size();
            NewMessage message{
                demoSpeaks ? demoUid : other, demoSpeaks ? other : demoUid, line, "", when, ""};
            if (dialogIndex % 5 == 2 && last && !sceneries.empty()) {
                message.pic = sceneries[static_cast<std::size_t>(dialogIndex) % sceneries.size()];
            }
            auto id = Dialogs::insert(connection, message);
            bool unread = !demoSpeaks && last && dialogIndex % 3 == 0;
            if (!unread) {
                connection.prepare("UPDATE messages SET is_read = 1 WHERE id = ?").bind(1, id).run();
            }
            when += 120;
            demoSpeaks = !demoSpeaks;
            ++lineIndex;
        }
    }
}

}  // namespace

DemoSeed::Artwork DemoSeed::paint() {
    Artwork artwork;
    artwork.avatars.push_back(AvatarPainter::avatar(0, true));
    for (int i = 0; i < otherUsers; ++i) {
        artwork.avatars.push_back(AvatarPainter::avatar(i + 1, i % 2 == 1));
    }
    for (int i = 0; i < sceneryCount; ++i) {
        artwork.sceneries.push_back(AvatarPainter::scenery(i));
    }
    artwork.ideaPosters = IdeaSeed::paint();
    return artwork;
}

void DemoSeed::plant(Connection& connection, const ReferenceData& reference, Pictures& pictures,
                     const Artwork& artwork, const std::string& passwordHash, std::int64_t now) {
    Dice dice(20130601);
    std::vector<Town> towns = {
        {townCities(reference, "北京", CityInfo{1, "北京", 1, "北京"}),
         116.397,
         39.909,
         {"三里屯", "798艺术区", "香山", "后海", "奥林匹克公园", "国家大剧院"}},
        {townCities(reference, "上海", CityInfo{2, "上海", 2, "上海"}),
         121.473,
         31.230,
         {"外滩", "田子坊", "世纪公园", "新天地", "佘山", "上海博物馆"}},
    };
    auto professions = reference.professions();
    if (professions.empty()) {
        professions = {{1, "学生"}, {2, "设计师"}, {3, "工程师"}, {4, "教师"}, {5, "自由职业"}, {6, "医生"}};
    }
    auto categories = reference.categories();
    if (categories.empty()) {
        categories = {{1, "户外"}, {2, "美食"}, {3, "电影"}, {4, "展览"}, {5, "运动"}, {6, "音乐"}};
    }

    // The demo account comes first, in Beijing, with something waiting for it.
    NewUser demo;
    demo.account = demoAccount;
    demo.passwordHash = passwordHash;
    demo.nickname = "Zorlet体验官";
    demo.gender = 1;
    demo.birthYear = 1990;
    demo.birthMonth = 6;
    demo.birthDay = 15;
    demo.professionId = professions[0].id;
    demo.profession = professions[0].name;
    const auto& demoCity = towns[0].cities[0];
    demo.cityId = demoCity.cityId;
    demo.cityName = demoCity.cityName;
    demo.provinceId = demoCity.provinceId;
    demo.provinceName = demoCity.provinceName;
    demo.feature = "这是演示账号，随便逛逛吧。";
    // Bound to a microblog account, so sharing to the bound platform can be tried too.
    demo.tpId = 6;
    demo.tpAccount = "zorlet_demo";
    demo.hasGuided = true;
    demo.longitude = towns[0].longitude;
    demo.latitude = towns[0].latitude;
    demo.registerTime = now - 90 * 86400;
    demo.lastActive = now;
    demo.logo = storePicture(connection, pictures, artwork.avatars.at(0), AvatarPainter::avatarSide,
                             AvatarPainter::avatarSide, std::nullopt);
    auto demoUid = Accounts::create(connection, demo);
    connection
        .prepare(
            "UPDATE users SET unread_notices = 0, phone_type = 'iPhone 4S', user_place = ? WHERE uid = ?")
        .bind(1, demoCity.cityName)
        .bind(2, demoUid)
        .run();

    std::vector<std::string> sceneries;
    for (const auto& scenery : artwork.sceneries) {
        sceneries.push_back(storePicture(connection, pictures, scenery, AvatarPainter::sceneryWidth,
                                         AvatarPainter::sceneryHeight, std::nullopt));
    }

    auto insertPost = connection.prepare(
        "INSERT INTO posts (uid, purpose, content, place, city_name, date_string, category_id, "
        "category_name, pic, "
        "created) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    std::vector<std::int64_t> otherUids;
    for (int i = 0; i < otherUsers; ++i) {
        const auto& town = towns[i < 24 ? 0 : 1];
        bool male = i % 2 == 1;
        const auto& profession =
            professions[static_cast<size_t>(dice.below(static_cast<int>(professions.size())))];
        NewUser user;
        char account[32];
        std::snprintf(account, sizeof account, "user%02d@zorlet.local", i + 1);
        user.account = account;
        user.passwordHash = passwordHash;
        user.nickname = nicknames[i];
        user.gender = male ? 1 : 0;
        user.birthYear = 1978 + dice.below(20);
        user.birthMonth = 1 + dice.below(12);
        user.birthDay = 1 + dice.below(28);
        user.professionId = profession.id;
        user.profession = profession.name;
        const auto& city = town.cities[static_cast<size_t>(i) % town.cities.size()];
        user.cityId = city.cityId;
        user.cityName = city.cityName;
        user.provinceId = city.provinceId;
        user.provinceName = city.provinceName;
        user.feature = features[i % std::size(features)];
        user.hasGuided = true;
        // Within roughly fifteen kilometres of the centre.
        user.longitude = town.longitude + dice.spread() * 0.16;
        user.latitude = town.latitude + dice.spread() * 0.12;
        user.registerTime = now - (100 - i) * 86400;
        // A few online now, some earlier today, the rest over the past days.
        user.lastActive = now - (i < 6 ? i * 60 : i < 16 ? i * 1500 : i * 9000);
        user.logo = storePicture(connection, pictures, artwork.avatars.at(static_cast<size_t>(i) + 1),
                                 AvatarPainter::avatarSide, AvatarPainter::avatarSide, std::nullopt);
        auto uid = Accounts::create(connection, user);
        otherUids.push_back(uid);
        connection.prepare("UPDATE users SET user_place = ? WHERE uid = ?")
            .bind(1, town.places[static_cast<size_t>(i) % town.places.size()])
            .bind(2, uid)
            .run();

        if (i % 8 == 7) {
            continue;  // some people have not posted yet
        }
        int postCount = 1 + i % 2;
        for (int p = 0; p < postCount; ++p) {
            const auto& idea = postIdeas[static_cast<size_t>(i * 3 + p) % std::size(postIdeas)];
            const auto& category = categories[static_cast<size_t>(i + p) % categories.size()];
            bool latest = p == postCount - 1;
            auto created = now - (i * 2 + 1) * 3600 - (postCount - 1 - p) * 86400;
            insertPost.reset();
            insertPost.bind(1, uid)
                .bind(2, idea.purpose)
                .bind(3, idea.content)
                .bind(4, idea.withPlace ? town.places[static_cast<size_t>(i + p) % town.places.size()] : "")
                .bind(5, idea.withPlace ? city.cityName : "")
                .bind(6, idea.withDate ? formatDate(now + (1 + i % 6) * 86400) : "")
                .bind(7, category.id)
                .bind(8, category.name)
                .bind(9, latest && i % 2 == 0 ? sceneries[static_cast<size_t>(i / 2) % sceneries.size()] : "")
                .bind(10, created);
            insertPost.run();
        }
    }
    IdeaSeed::plant(connection, reference, pictures, artwork.ideaPosters, demoUid, now);
    ExternalSeed::plant(connection);
    plantDialogs(connection, demoUid, otherUids, now, sceneries);
    SocialSeed::plant(connection, demoUid, otherUids, sceneries, now);
    connection.prepare("INSERT OR REPLACE INTO meta (key, value) VALUES ('seed', 'demo')").run();
}

}  // namespace zorlet::sandbox
