#include "sandbox/Accounts.h"

#include "platform/UnicodeText.h"
#include "sandbox/Connection.h"
#include "sandbox/Envelope.h"
#include "sandbox/Records.h"
#include "sandbox/Sessions.h"

#include <ctime>

namespace zorlet::sandbox {

std::int64_t Accounts::create(Connection& connection, const NewUser& user) {
    auto now = static_cast<std::int64_t>(std::time(nullptr));
    connection
        .prepare(
            "INSERT INTO users (account, password_hash, nickname, gender, birth_year, birth_month, "
            "birth_day, "
            "profession_id, profession, province_id, province_name, city_id, city_name, feature, logo, "
            "new_logo, "
            "logo_verify_state, has_guided, tp_id, tp_account, longitude, latitude, register_time, "
            "last_active) "
            "VALUES (?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?, ?)")
        .bind(1, user.account)
        .bind(2, user.passwordHash)
        .bind(3, user.nickname)
        .bind(4, user.gender)
        .bind(5, user.birthYear)
        .bind(6, user.birthMonth)
        .bind(7, user.birthDay)
        .bind(8, user.professionId)
        .bind(9, user.profession)
        .bind(10, user.provinceId)
        .bind(11, user.provinceName)
        .bind(12, user.cityId)
        .bind(13, user.cityName)
        .bind(14, user.feature)
        .bind(15, user.logo)
        .bind(16, user.logo)
        .bind(17, user.logo.empty() ? 0 : 1)
        .bind(18, user.hasGuided ? 1 : 0)
        .bind(19, user.tpId)
        .bind(20, user.tpAccount)
        .bind(21, user.longitude)
        .bind(22, user.latitude)
        .bind(23, user.registerTime ? user.registerTime : now)
        .bind(24, user.lastActive ? user.lastActive : now)
        .run();
    return connection.lastInsertId();
}

Reply Accounts::signIn(Connection& connection, Sessions& sessions, std::int64_t uid, const ViewContext& view,
                       bool remember) {
    auto tokens = sessions.open(connection, uid);
    auto now = static_cast<std::int64_t>(std::time(nullptr));
    connection.prepare("UPDATE users SET last_active = ? WHERE uid = ?").bind(1, now).bind(2, uid).run();
    auto user = Records::user(connection, uid);
    if (!user) {
        return Envelope::refuse(ErrorCode::NotSignedIn, "登录已失效，请重新登录");
    }
    ViewContext own = view;
    own.viewerUid = uid;
    auto reply = Envelope::ok(Views::home(connection, *user, own));
    reply.withHeader("Set-Cookie", Sessions::pTokenCookie(tokens.pToken));
    reply.withHeader("Set-Cookie", Sessions::lTokenCookie(tokens.lToken, remember));
    return reply;
}

std::string Accounts::unusedNickname(Connection& connection, const std::string& base) {
    // Trim to 16 units so that a number of up to four digits still fits in 20.
    std::string stem;
    for (size_t i = 0; i < base.size();) {
        size_t length = 1;
        auto byte = static_cast<unsigned char>(base[i]);
        if (byte >= 0xF0) {
            length = 4;
        } else if (byte >= 0xE0) {
            length = 3;
        } else if (byte >= 0xC0) {
            length = 2;
        }
        auto next = base.substr(i, length);
        if (UnicodeText::chineseLength(stem + next) > 16) {
            break;
        }
        stem += next;
        i += length;
    }
    if (stem.empty()) {
        stem = "Zorlet";
    }
    if (UnicodeText::chineseLength(base) <= 20 && !Records::nicknameTaken(connection, base, 0)) {
        return base;
    }
    for (int number = 2; number < 10000; ++number) {
        auto candidate = stem + std::to_string(number);
        if (!Records::nicknameTaken(connection, candidate, 0)) {
            return candidate;
        }
    }
    return stem + std::to_string(std::time(nullptr) % 10000);
}

}  // namespace zorlet::sandbox
