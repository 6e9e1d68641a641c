#include "sandbox/Records.h"

#include "sandbox/Connection.h"

namespace zorlet::sandbox {

namespace {

constexpr const char* userColumns =
    "uid, IFNULL(account, ''), nickname, gender, birth_year, birth_month, birth_day, profession_id, "
    "profession, "
    "province_id, province_name, city_id, city_name, town_id, town_name, feature, logo, new_logo, "
    "logo_verify_state, has_guided, tp_id, IFNULL(tp_account, ''), token_expired, longitude, latitude, "
    "phone_type, user_place, location_secret, phone_secret, synchronize_secret, social_secret, "
    "register_time, "
    "last_active";

constexpr const char* postColumns =
    "post_id, uid, purpose, content, place, city_name, date_string, category_id, category_name, idea_id, "
    "link, "
    "pic, resp_cnt, created";

UserRecord readUser(Statement& row) {
    UserRecord user;
    int c = 0;
    user.uid = row.integer(c++);
    user.account = row.text(c++);
    user.nickname = row.text(c++);
    if (!row.isNull(c)) {
        user.gender = row.integer(c);
    }
    ++c;
    user.birthYear = row.integer(c++);
    user.birthMonth = row.integer(c++);
    user.birthDay = row.integer(c++);
    user.professionId = row.integer(c++);
    user.profession = row.text(c++);
    user.provinceId = row.integer(c++);
    user.provinceName = row.text(c++);
    user.cityId = row.integer(c++);
    user.cityName = row.text(c++);
    user.townId = row.integer(c++);
    user.townName = row.text(c++);
    user.feature = row.text(c++);
    user.logo = row.text(c++);
    user.newLogo = row.text(c++);
    user.logoVerifyState = row.integer(c++);
    user.hasGuided = row.integer(c++) != 0;
    user.tpId = row.integer(c++);
    user.tpAccount = row.text(c++);
    user.tokenExpired = row.integer(c++) != 0;
    if (!row.isNull(c) && !row.isNull(c + 1)) {
        user.longitude = row.real(c);
        user.latitude = row.real(c + 1);
    }
    c += 2;
    user.phoneType = row.text(c++);
    user.userPlace = row.text(c++);
    user.locationSecret = row.integer(c++) != 0;
    user.phoneSecret = row.integer(c++) != 0;
    user.synchronizeSecret = row.integer(c++) != 0;
    user.socialSecret = row.integer(c++) != 0;
    user.registerTime = row.integer(c++);
    user.lastActive = row.integer(c++);
    return user;
}

PostRecord readPost(Statement& row) {
    PostRecord post;
    int c = 0;
    post.postId = row.integer(c++);
    post.uid = row.integer(c++);
    post.purpose = row.text(c++);
    post.content = row.text(c++);
    post.place = row.text(c++);
    post.cityName = row.text(c++);
    post.dateString = row.text(c++);
    post.categoryId = row.integer(c++);
    post.categoryName = row.text(c++);
    post.ideaId = row.integer(c++);
    post.link = row.text(c++);
    post.pic = row.text(c++);
    post.respCnt = row.integer(c++);
    post.created = row.integer(c++);
    return post;
}

template <typename Bind>
std::optional<UserRecord> oneUser(Connection& connection, const std::string& where, Bind bind) {
    auto query = connection.prepare(std::string("SELECT ") + userColumns + " FROM users WHERE " + where);
    bind(query);
    if (!query.step()) {
        return std::nullopt;
    }
    return readUser(query);
}

}  // namespace

std::optional<UserRecord> Records::user(Connection& connection, std::int64_t uid) {
    return oneUser(connection, "uid = ?", [&](Statement& q) { q.bind(1, uid); });
}

std::optional<UserRecord> Records::userByAccount(Connection& connection, const std::string& account) {
    return oneUser(connection, "account = ?", [&](Statement& q) { q.bind(1, account); });
}

std::optional<UserRecord> Records::userByExternal(Connection& connection, std::int64_t tpId,
                                                  const std::string& externalAccount) {
    return oneUser(connection, "tp_id = ? AND tp_account = ?",
                   [&](Statement& q) { q.bind(1, tpId).bind(2, externalAccount); });
}

std::optional<PostRecord> Records::post(Connection& connection, std::int64_t postId) {
    auto query = connection.prepare(std::string("SELECT ") + postColumns +
                                    " FROM posts WHERE post_id = ? AND deleted = 0");
    query.bind(1, postId);
    if (!query.step()) {
        return std::nullopt;
    }
    return readPost(query);
}

std::optional<PostRecord> Records::latestPost(Connection& connection, std::int64_t uid) {
    auto query =
        connection.prepare(std::string("SELECT ") + postColumns +
                           " FROM posts WHERE uid = ? AND deleted = 0 ORDER BY created DESC, post_id DESC "
                           "LIMIT 1");
    query.bind(1, uid);
    if (!query.step()) {
        return std::nullopt;
    }
    return readPost(query);
}

std::int64_t Records::postCount(Connection& connection, std::int64_t uid) {
    auto query = connection.prepare("SELECT COUNT(*) FROM posts WHERE uid = ? AND deleted = 0");
    query.bind(1, uid);
    query.step();
    return query.integer(0);
}

UserTallies Records::tallies(Connection& connection, std::int64_t uid, std::optional<std::int64_t> viewer) {
    auto query = connection.prepare(
        "SELECT (SELECT COUNT(*) FROM interests WHERE uid = ?1), "
        "(SELECT COUNT(*) FROM interests WHERE interest_uid = ?1), "
        "(SELECT COUNT(*) FROM posts WHERE uid = ?1 AND deleted = 0), "
        "EXISTS (SELECT 1 FROM interests WHERE uid = ?2 AND interest_uid = ?1)");
    query.bind(1, uid).bind(2, viewer.value_or(0));
    query.step();
    return {query.integer(0), query.integer(1), query.integer(2),
            viewer && *viewer != uid && query.integer(3) != 0};
}

bool Records::hasResponded(Connection& connection, std::int64_t postId, std::int64_t uid) {
    auto query = connection.prepare("SELECT 1 FROM post_responses WHERE post_id = ? AND uid = ?");
    query.bind(1, postId).bind(2, uid);
    return query.step();
}

bool Records::nicknameTaken(Connection& connection, const std::string& nickname, std::int64_t exceptUid) {
    auto query = connection.prepare("SELECT 1 FROM users WHERE nickname = ? AND uid != ? LIMIT 1");
    query.bind(1, nickname).bind(2, exceptUid);
    return query.step();
}

}  // namespace zorlet::sandbox
