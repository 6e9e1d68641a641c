#include "sandbox/Views.h"

#include "sandbox/Connection.h"
#include "sandbox/Pictures.h"
#include "sandbox/PreferenceCatalog.h"
#include "sandbox/Records.h"

#include <ctime>

namespace zorlet::sandbox {

namespace {

constexpr std::int64_t onlineWindow = 10 * 60;

// mktime takes the C library's time-zone lock (and may look at the zone file) on
// every call, and a feed page asks once per user: each thread keeps today's bounds.
std::int64_t startOfLocalDay(std::int64_t now) {
    struct Day {
        std::int64_t start = 0;
        std::int64_t end = 0;
    };
    thread_local Day today;
    if (now >= today.start && now < today.end) {
        return today.start;
    }
    std::time_t nowTime = static_cast<std::time_t>(now);
    std::tm local{};
    localtime_r(&nowTime, &local);
    local.tm_hour = 0;
    local.tm_min = 0;
    local.tm_sec = 0;
    std::tm next = local;
    next.tm_mday += 1;
    next.tm_isdst = -1;  // the next day may begin on the other side of a clock change
    today = {static_cast<std::int64_t>(std::mktime(&local)), static_cast<std::int64_t>(std::mktime(&next))};
    if (now < today.start || now >= today.end) {
        std::int64_t start = today.start;
        today = {};  // a zone whose day does not contain `now` is not worth caching
        return start;
    }
    return today.start;
}

std::string socialLink(std::int64_t tpId, const std::string& account) {
    if (account.empty()) {
        return {};
    }
    switch (tpId) {
        case 6:
            return "http://weibo.com/" + account;
        case 7:
            return "http://www.douban.com/people/" + account + "/";
        case 8:
            return "http://user.qzone.qq.com/" + account;
        default:
            return {};
    }
}

}  // namespace

std::string Views::providerName(std::int64_t tpId) {
    switch (tpId) {
        case 6:
            return "weibo";
        case 7:
            return "douban";
        case 8:
            return "qq";
        default:
            return {};
    }
}

std::string Views::constellation(std::int64_t month, std::int64_t day) {
    if (month < 1 || month > 12 || day < 1 || day > 31) {
        return {};
    }
    // The first day of each sign, by month; a date before it belongs to the previous sign.
    static constexpr int startDay[] = {20, 19, 21, 20, 21, 22, 23, 23, 23, 24, 23, 22};
    static const char* const signs[] = {"摩羯座", "水瓶座", "双鱼座", "白羊座", "金牛座", "双子座",
                                        "巨蟹座", "狮子座", "处女座", "天秤座", "天蝎座", "射手座"};
    auto index = static_cast<int>(month) % 12;  // the sign that starts in this month
    if (day < startDay[month - 1]) {
        index = (index + 11) % 12;
    }
    return signs[index];
}

int Views::onlineStatus(std::int64_t lastActive, std::int64_t now) {
    if (now - lastActive < onlineWindow) {
        return 0;
    }
    return lastActive >= startOfLocalDay(now) ? 1 : 2;
}

nlohmann::json Views::post(Connection& connection, const PostRecord& post, const ViewContext& context) {
    bool hasResp = context.viewerUid && Records::hasResponded(connection, post.postId, *context.viewerUid);
    auto picture = Pictures::url(context.baseUrl, post.pic);
    nlohmann::json view = nlohmann::json::object();
    auto& fields = view.get_ref<nlohmann::json::object_t&>();
    fields.emplace("postId", post.postId);
    fields.emplace("purpose", post.purpose);
    fields.emplace("content", post.content);
    fields.emplace("place", post.place);
    fields.emplace("pic", picture.empty() ? nlohmann::json() : nlohmann::json(picture));
    fields.emplace("bigPic", picture.empty() ? nlohmann::json() : nlohmann::json(picture));
    fields.emplace("categoryId", post.categoryId);
    fields.emplace("categoryName", post.categoryName);
    fields.emplace("ideaId", post.ideaId);
    fields.emplace("cityName", post.cityName);
    fields.emplace("date", post.dateString);
    fields.emplace("respCnt", post.respCnt);
    fields.emplace("hasResp", hasResp ? 1 : 0);
    fields.emplace("createUid", post.uid);
    fields.emplace("link", post.link);
    fields.emplace("picFileName", post.pic);
    fields.emplace("createTime", post.created * 1000);
    return view;
}

nlohmann::json Views::user(Connection& connection, const UserRecord& user, const ViewContext& context,
                           bool withLatestPost) {
    auto logo = Pictures::url(context.baseUrl, user.logo);
    // A user who hides their position shows no distance to anyone else.
    bool located = user.longitude && user.latitude &&
                   (!user.locationSecret || (context.viewerUid && *context.viewerUid == user.uid));
    auto tallies = Records::tallies(connection, user.uid, context.viewerUid);
    nlohmann::json view = nlohmann::json::object();
    auto& fields = view.get_ref<nlohmann::json::object_t&>();
    fields.emplace("uid", user.uid);
    fields.emplace("nickname", user.nickname);
    fields.emplace("gender", user.gender ? nlohmann::json(*user.gender) : nlohmann::json());
    fields.emplace("logo", logo);
    fields.emplace("smallLogo", logo);
    fields.emplace("bigLogo", logo);
    fields.emplace("originalLogo", logo);
    fields.emplace("newLogo", Pictures::url(context.baseUrl, user.newLogo));
    fields.emplace("logoVerifyState", user.logoVerifyState);
    fields.emplace("hasLogo", !user.logo.empty());
    fields.emplace("birthYear", user.birthYear);
    fields.emplace("birthMonth", user.birthMonth);
    fields.emplace("birthDay", user.birthDay);
    fields.emplace("constellation", constellation(user.birthMonth, user.birthDay));
    fields.emplace("professionId", user.professionId);
    fields.emplace("profession", user.profession);
    fields.emplace("provinceId", user.provinceId);
    fields.emplace("provinceName", user.provinceName);
    fields.emplace("cityId", user.cityId);
    fields.emplace("cityName", user.cityName);
    fields.emplace("townId", user.townId);
    fields.emplace("townName", user.townName);
    fields.emplace("feature", user.feature);
    fields.emplace("interestUserCount", tallies.following);
    fields.emplace("interestMeCount", tallies.followers);
    fields.emplace("postCount", tallies.posts);
    fields.emplace("hasGuided", user.hasGuided ? 1 : 0);
    fields.emplace("hasInterest", tallies.followedByViewer ? 1 : 0);
    fields.emplace("tpId", user.tpId);
    fields.emplace("tpName", providerName(user.tpId));
    fields.emplace("tokenExpired", user.tokenExpired);
    fields.emplace("onlineStatus", onlineStatus(user.lastActive, context.now));
    fields.emplace("location",
                   located ? nlohmann::json::array({*user.longitude, *user.latitude}) : nlohmann::json());
    if (withLatestPost) {
        auto latest = Records::latestPost(connection, user.uid);
        view["postView"] = latest ? post(connection, *latest, context) : nlohmann::json();
    }
    return view;
}

nlohmann::json Views::home(Connection& connection, const UserRecord& user, const ViewContext& context) {
    bool own = context.viewerUid && *context.viewerUid == user.uid;
    nlohmann::json view = {
        {"userView", Views::user(connection, user, context, false)},
        {"preferenceViews", PreferenceCatalog::viewsFor(connection, user.uid)},
        {"registerTime", user.registerTime},
        {"phoneType", own || !user.phoneSecret ? user.phoneType : std::string()},
        {"userPlace", own || !user.locationSecret ? user.userPlace : std::string()},
        {"socialLink", own || !user.socialSecret ? socialLink(user.tpId, user.tpAccount) : std::string()},
        {"locationSecret", user.locationSecret},
        {"phoneSecret", user.phoneSecret},
        {"synchronizeSecret", user.synchronizeSecret},
        {"socialSecret", user.socialSecret},
    };
    // A hidden last-seen place hides the position it was taken from as well.
    if (user.longitude && user.latitude && (own || !user.locationSecret)) {
        view["longitude"] = *user.longitude;
        view["latitude"] = *user.latitude;
    }
    return view;
}

}  // namespace zorlet::sandbox
