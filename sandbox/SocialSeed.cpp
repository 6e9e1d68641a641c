#include "sandbox/SocialSeed.h"

#include "sandbox/Connection.h"
#include "sandbox/Records.h"

#include <iterator>

namespace zorlet::sandbox {

namespace {

constexpr std::int64_t day = 86400;

struct SeedPost {
    const char* purpose;
    const char* content;
    const char* place;
};

const SeedPost busyAuthorDiary[] = {
    {"周末爬山", "这周去了趟凤凰岭，下周想去百望山。", "百望山"},
    {"吃火锅", "找到一家铜锅涮肉，肉特别新鲜。", "牛街"},
    {"看展览", "国家博物馆的古代服饰展很值得一看。", "国家博物馆"},
    {"骑行", "环二环夜骑，四十公里左右。", ""},
    {"喝咖啡", "胡同里的咖啡馆，猫很多。", "五道营胡同"},
    {"看电影", "想二刷那部科幻片，有人没看过吗？", "三里屯"},
    {"逛市集", "周末的农夫市集，买点新鲜蔬菜。", "朝阳公园"},
    {"夜跑", "奥森夜跑，十公里，配速六分。", "奥林匹克森林公园"},
    {"打羽毛球", "周三晚上的球局还差一个人。", ""},
    {"听音乐会", "中山公园音乐堂的室内乐。", "中山公园"},
    {"学做菜", "想学做广式点心，有老师吗？", ""},
    {"看话剧", "人艺的新戏，票不好买。", "首都剧场"},
};

const SeedPost demoPosts[] = {
    {"看展览", "798新开了一个摄影展，周末有人一起去吗？", "798艺术区"},
    {"吃火锅", "想找几个能吃辣的朋友一起吃火锅。", "三里屯"},
    {"周末爬山", "香山的红叶快到时候了，一起去看看吧。", "香山"},
};

const char* const phoneTypes[] = {"iPhone 4S", "iPhone 4", "iPhone 5", "iPhone 3GS", "iPod touch"};

const char* const favouritePlaces[] = {"香山", "后海", "外滩", "798艺术区", "西湖", "鼓浪屿", "洱海", "长城"};

const char* const supplements[] = {"最好是人少的地方", "", "周末都有空，欢迎约我", ""};

std::int64_t insertPost(Connection& connection, std::int64_t uid, const SeedPost& post, std::int64_t created,
                        const std::string& pic) {
    connection
        .prepare(
            "INSERT INTO posts (uid, purpose, content, place, city_name, category_id, category_name, pic, "
            "created) SELECT uid, ?2, ?3, ?4, CASE WHEN ?4 = '' THEN '' ELSE city_name END, 0, '', ?5, ?6 "
            "FROM users WHERE uid = ?1")
        .bind(1, uid)
        .bind(2, post.purpose)
        .bind(3, post.content)
        .bind(4, post.place)
        .bind(5, pic)
        .bind(6, created)
        .run();
    return connection.lastInsertId();
}

// Responses keep the post's count in step, as responding through the API does.
void respond(Connection& connection, std::int64_t postId, std::int64_t uid, std::int64_t when) {
    connection.prepare("INSERT OR IGNORE INTO post_responses (post_id, uid, created) VALUES (?, ?, ?)")
        .bind(1, postId)
        .bind(2, uid)
        .bind(3, when)
        .run();
    if (connection.changes() == 1) {
        connection.prepare("UPDATE posts SET resp_cnt = resp_cnt + 1 WHERE post_id = ?")
            .bind(1, postId)
            .run();
    }
}

void follow(Connection& connection, std::int64_t uid, std::int64_t followed, std::int64_t when) {
    if (uid == followed) {
        return;
    }
    connection.prepare("INSERT OR IGNORE INTO interests (uid, interest_uid, created) VALUES (?, ?, ?)")
        .bind(1, uid)
        .bind(2, followed)
        .bind(3, when)
        .run();
}

void answer(Connection& connection, std::int64_t uid, int preferenceId, const std::string& answerJson,
            const std::string& description) {
    connection
        .prepare(
            "INSERT OR REPLACE INTO preference_answers (uid, preference_id, answer, description) VALUES (?, "
            "?, "
            "?, ?)")
        .bind(1, uid)
        .bind(2, preferenceId)
        .bind(3, answerJson)
        .bind(4, description)
        .run();
}

// The questionnaire answered in one of a few patterns; the free-text question is left open now and then.
void answerQuestionnaire(Connection& connection, std::int64_t uid, size_t seed) {
    auto first = std::to_string(seed % 6);
    auto second = std::to_string((seed + 2) % 6);
    answer(connection, uid, 1, "[\"" + first + "\",\"" + second + "\"]",
           supplements[seed % std::size(supplements)]);
    answer(connection, uid, 2, "[" + std::to_string(seed % 4) + "]", "");
    auto low = 50 * static_cast<int>(seed % 5);
    answer(connection, uid, 3, "[" + std::to_string(low) + "," + std::to_string(low + 200) + "]", "");
    if (seed % 3 != 2) {
        answer(connection, uid, 4,
               std::string("[\"") + favouritePlaces[seed % std::size(favouritePlaces)] + "\"]", "");
    }
}

}  // namespace

void SocialSeed::plant(Connection& connection, std::int64_t demoUid,
                       const std::vector<std::int64_t>& otherUids, const std::vector<std::string>& sceneries,
                       std::int64_t now) {
    if (otherUids.size() < static_cast<size_t>(crowdedPostResponders) + 4) {
        return;
    }
    auto scenery = [&](size_t index) {
        return sceneries.empty() ? std::string() : sceneries[index % sceneries.size()];
    };

    // The first user posts a lot; all of it older than the post the feeds show.
    auto busyAuthor = otherUids[0];
    for (size_t i = 0; i + 1 < static_cast<size_t>(busyAuthorPosts) && i < std::size(busyAuthorDiary); ++i) {
        insertPost(connection, busyAuthor, busyAuthorDiary[i], now - static_cast<std::int64_t>(i + 2) * day,
                   i % 3 == 0 ? scenery(i) : "");
    }
    std::vector<std::int64_t> demoPostIds;
    for (size_t i = 0; i < std::size(demoPosts); ++i) {
        demoPostIds.push_back(insertPost(connection, demoUid, demoPosts[i],
                                         now - static_cast<std::int64_t>(i * 2 + 1) * day,
                                         i == 0 ? scenery(3) : ""));
    }

    // More responders than a page on the busy author's latest post; a few on many others.
    auto crowded = Records::latestPost(connection, busyAuthor);
    for (int i = 0; crowded && i < crowdedPostResponders; ++i) {
        respond(connection, crowded->postId, otherUids[static_cast<size_t>(i) + 1], now - (i + 1) * 600);
    }
    for (size_t author = 2; author < otherUids.size(); author += 2) {
        auto latest = Records::latestPost(connection, otherUids[author]);
        if (!latest) {
            continue;
        }
        auto responders = author % 5 + 1;
        for (size_t r = 0; r < responders; ++r) {
            respond(connection, latest->postId, otherUids[(author + 3 + r * 7) % otherUids.size()],
                    now - static_cast<std::int64_t>(r + 1) * 1800);
        }
    }
    for (size_t p = 0; p < demoPostIds.size(); ++p) {
        for (size_t r = 0; r < 6 - p * 3 && r < otherUids.size(); ++r) {
            respond(connection, demoPostIds[p], otherUids[r * 3 + p + 1],
                    now - static_cast<std::int64_t>(r) * 3600);
        }
    }

    // The demo account follows a handful and is followed by more than a page.
    for (size_t i = 0; i < 8; ++i) {
        follow(connection, demoUid, otherUids[i], now - static_cast<std::int64_t>(i) * day);
    }
    for (size_t i = 4; i < 28; ++i) {
        follow(connection, otherUids[i], demoUid, now - static_cast<std::int64_t>(i) * 3000);
    }
    for (size_t i = 0; i < otherUids.size(); ++i) {
        for (size_t step = 1; step <= i % 4; ++step) {
            follow(connection, otherUids[i], otherUids[(i + step * 5) % otherUids.size()],
                   now - static_cast<std::int64_t>(step) * day);
        }
    }

    // Homes: answers, phones, social pages and a few privacy switches.
    answerQuestionnaire(connection, demoUid, 1);
    for (size_t i = 0; i < otherUids.size(); ++i) {
        auto uid = otherUids[i];
        if (i % 5 != 4) {
            answerQuestionnaire(connection, uid, i);
        }
        if (i % 4 != 3) {
            connection.prepare("UPDATE users SET phone_type = ? WHERE uid = ?")
                .bind(1, phoneTypes[i % std::size(phoneTypes)])
                .bind(2, uid)
                .run();
        }
        if (i % 3 == 0) {
            // weibo, douban and qq in turn; the account names are the service's own demo pages.
            connection.prepare("UPDATE users SET tp_id = ?, tp_account = ? WHERE uid = ?")
                .bind(1, static_cast<std::int64_t>(6 + (i / 3) % 3))
                .bind(2, "zorlet_demo_" + std::to_string(i + 1))
                .bind(3, uid)
                .run();
        }
        connection
            .prepare(
                "UPDATE users SET location_secret = ?, phone_secret = ?, social_secret = ? WHERE uid = ?")
            .bind(1, static_cast<std::int64_t>(i % 11 == 10))
            .bind(2, static_cast<std::int64_t>(i % 7 == 6))
            .bind(3, static_cast<std::int64_t>(i % 9 == 3))
            .bind(4, uid)
            .run();
    }
}

}  // namespace zorlet::sandbox
