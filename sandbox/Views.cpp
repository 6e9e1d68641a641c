#include "sandbox/Views.h"

#include "sandbox/Connection.h"
#include "sandbox/Pictures.h"
#include "sandbox/PreferenceCatalog.h"
#include "sandbox/Records.h"
#include "sandbox/Relations.h"

#include <ctime>

namespace zorlet::sandbox {

namespace {

constexpr std::int64_t onlineWindow = 10 * 60;

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
    std::time_t nowTime = static_cast<std::time_t>(now);
    std::tm local{};
    localtime_r(&nowTime, &local);
    local.tm_hour = 0;
    local.tm_min = 0;
    local.tm_sec = 0;
    return lastActive >= static_cast<std::int64_t>(std::mktime(&local)) ? 1 : 2;
}

nlohmann::json Views::post(Connection& connection, const PostRecord& post, const ViewContext& context) {
    bool hasResp = context.viewerUid && Records::hasResponded(connection, post.postId, *context.viewerUid);
    auto picture = Pictures::url(context.baseUrl, post.pic);
    return {
        {"postId", post.postId},
        {"purpose", post.purpose},
        {"content", post.content},
        {"place", post.place},
        {"pic", picture.empty() ? nlohmann::json() : nlohmann::json(picture)},
        {"bigPic", picture.empty() ? nlohmann::json() : nlohmann::json(picture)},
        {"categoryId", post.categoryId},
        {"categoryName", post.categoryName},
        {"ideaId", post.ideaId},
        {"cityName", post.cityName},
        {"date", post.dateString},
        {"respCnt", post.respCnt},
        {"hasResp", hasResp ? 1 : 0},
        {"createUid", post.uid},
        {"link", post.link},
        {"picFileName", post.pic},
        {"createTime", post.created * 1000},
    };
}

nlohmann::json Views::user(Connection& connection, const UserRecord& user, const ViewContext& context,
                           bool withLatestPost) {
    auto logo = Pictures::url(context.baseUrl, user.logo);
    // A user who hides their position shows no distance to anyone else.
    bool located = user.longitude && user.latitude &&
                   (!user.locationSecret || (context.viewerUid && *context.viewerUid == user.uid));
    bool following = context.viewerUid && *context.viewerUid != user.uid &&
                     Relations::isFollowing(connection, *context.viewerUid, user.uid);
    nlohmann::json view = {
        {"uid", user.uid},
        {"nickname", user.nickname},
        {"gender", user.gender ? nlohmann::json(*user.gender) : nlohmann::json()},
        {"logo", logo},
        {"smallLogo", logo},
        {"bigLogo", logo},
        {"originalLogo", logo},
        {"newLogo", Pictures::url(context.baseUrl, user.newLogo)},
        {"logoVerifyState", user.logoVerifyState},
        {"hasLogo", !user.logo.empty()},
        {"birthYear", user.birthYear},
        {"birthMonth", user.birthMonth},
        {"birthDay", user.birthDay},
        {"constellation", constellation(user.birthMonth, user.birthDay)},
        {"professionId", user.professionId},
        {"profession", user.profession},
        {"provinceId", user.provinceId},
        {"provinceName", user.provinceName},
        {"cityId", user.cityId},
        {"cityName", user.cityName},
        {"townId", user.townId},
        {"townName", user.townName},
        {"feature", user.feature},
        {"interestUserCount", Relations::followingCount(connection, user.uid)},
        {"interestMeCount", Relations::followerCount(connection, user.uid)},
        {"postCount", Records::postCount(connection, user.uid)},
        {"hasGuided", user.hasGuided ? 1 : 0},
        {"hasInterest", following ? 1 : 0},
        {"tpId", user.tpId},
        {"tpName", providerName(user.tpId)},
        {"tokenExpired", user.tokenExpired},
        {"onlineStatus", onlineStatus(user.lastActive, context.now)},
        {"location", located ? nlohmann::json::array({*user.longitude, *user.latitude}) : nlohmann::json()},
    };
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
