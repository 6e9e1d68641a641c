#include "sandbox/ExternalSeed.h"

#include "sandbox/Connection.h"
#include "sandbox/Statement.h"

#include <array>
#include <string>

namespace zorlet::sandbox {

namespace {

struct SeedCategory {
    int id;
    const char* name;
    std::array<const char*, 6> stems;
};

const SeedCategory seedCategories[] = {
    {10, "美食", {"川味小馆", "老灶火锅", "家常菜馆", "烤鸭店", "面馆", "私房菜"}},
    {20, "咖啡厅", {"街角咖啡", "手冲咖啡馆", "猫咪咖啡", "书店咖啡", "露台咖啡", "烘焙坊"}},
    {30, "电影院", {"影城", "国际影城", "艺术影院", "IMAX影城", "电影资料馆", "胶片影院"}},
    {40, "KTV", {"量贩KTV", "欢唱KTV", "主题KTV", "迷你K歌房", "音乐会所", "好声音KTV"}},
    {50, "酒吧", {"精酿酒吧", "爵士酒吧", "屋顶酒吧", "小酒馆", "清吧", "威士忌吧"}},
    {60, "运动健身", {"攀岩馆", "羽毛球馆", "游泳馆", "保龄球馆", "瑜伽馆", "滑冰场"}},
    {70, "展览演出", {"美术馆", "小剧场", "Livehouse", "艺术中心", "摄影展厅", "话剧院"}},
    {80, "公园景点", {"森林公园", "湿地公园", "古镇", "植物园", "湖畔步道", "观景台"}},
    {90, "桌游密室", {"桌游吧", "密室逃脱", "剧本杀馆", "狼人杀俱乐部", "棋牌室", "电玩城"}},
    {100, "甜品饮品", {"甜品屋", "奶茶铺", "冰淇淋店", "糖水铺", "蛋糕房", "鲜榨果汁"}},
    {110, "户外郊游", {"露营地", "农家乐", "采摘园", "徒步营地", "漂流基地", "马场"}},
    {120, "亲子乐园", {"儿童乐园", "海洋馆", "科技馆", "动物园", "手工坊", "绘本馆"}},
};

struct SeedCity {
    const char* name;
    double longitude;
    double latitude;
    std::array<const char*, 6> districts;
    std::array<const char*, 6> streets;
};

const SeedCity seedCities[] = {
    {"北京",
     116.397,
     39.909,
     {"朝阳区", "东城区", "西城区", "海淀区", "丰台区", "通州区"},
     {"三里屯路", "工体北路", "鼓楼东大街", "中关村大街", "酒仙桥路", "南锣鼓巷"}},
    {"上海",
     121.473,
     31.230,
     {"黄浦区", "徐汇区", "静安区", "浦东新区", "长宁区", "虹口区"},
     {"南京东路", "淮海中路", "衡山路", "世纪大道", "愚园路", "多伦路"}},
    {"广州",
     113.264,
     23.129,
     {"天河区", "越秀区", "海珠区", "荔湾区", "白云区", "番禺区"},
     {"天河路", "北京路", "江南大道", "上下九路", "白云大道", "市桥路"}},
    {"成都",
     104.066,
     30.657,
     {"锦江区", "青羊区", "武侯区", "成华区", "金牛区", "高新区"},
     {"春熙路", "宽窄巷子", "玉林路", "建设路", "一环路", "天府大道"}},
    {"杭州",
     120.155,
     30.274,
     {"西湖区", "上城区", "拱墅区", "滨江区", "余杭区", "萧山区"},
     {"北山街", "河坊街", "湖墅南路", "江南大道", "文一西路", "人民路"}},
};

constexpr const char* longName =
    "城市山林间可以看到整座湖面与远山日落的屋顶花园露台餐厅与私人艺术收藏陈列馆旗舰店";

}  // namespace

void ExternalSeed::plant(Connection& connection) {
    auto insertCategory =
        connection.prepare("INSERT INTO external_categories (category_id, name, position) VALUES (?, ?, ?)");
    int position = 0;
    for (const auto& category : seedCategories) {
        insertCategory.bind(1, category.id).bind(2, category.name).bind(3, position++);
        insertCategory.run();
        insertCategory.reset();
    }
    auto insertPlace = connection.prepare(
        "INSERT INTO external_places (place_id, category_id, name, address, city_name, longitude, latitude, "
        "rating, reviews, photo) VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?)");
    int placeId = 1000;
    for (int c = 0; c < cityCount; ++c) {
        const auto& city = seedCities[c];
        for (int i = 0; i < placesPerCity; ++i) {
            int categoryIndex = (i + c) % categoryCount;
            const auto& category = seedCategories[categoryIndex];
            const char* district = city.districts[static_cast<size_t>(i % 6)];
            const char* street = city.streets[static_cast<size_t>((i / 2 + c) % 6)];
            std::string name = std::string(city.streets[static_cast<size_t>(i % 6)]) +
                               category.stems[static_cast<size_t>((i / categoryCount + c) % 6)];
            if (c == 0 && i == 6) {
                name = "798";
            }
            if (c == 1 && i == 7) {
                name = longName;
            }
            std::string address =
                std::string(city.name) + "市" + district + street + std::to_string(3 + i * 7 % 180) + "号";
            // Spread around the centre, up to about 15 km in each direction.
            double dx = ((i * 37 + c * 11) % 29 - 14) * 0.011;
            double dy = ((i * 53 + c * 7) % 27 - 13) * 0.009;
            int rating = 20 + (i * 7 + c * 3) % 31;
            insertPlace.bind(1, placeId++)
                .bind(2, category.id)
                .bind(3, name)
                .bind(4, address)
                .bind(5, city.name)
                .bind(6, city.longitude + dx)
                .bind(7, city.latitude + dy)
                .bind(8, rating)
                .bind(9, 12 + (i * 97 + c * 31) % 2400)
                .bind(10, i % 9);
            insertPlace.run();
            insertPlace.reset();
        }
    }
}

}  // namespace zorlet::sandbox
