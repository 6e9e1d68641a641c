#include "sandbox/handlers/ProfileHandlers.h"

#include "platform/UnicodeText.h"
#include "sandbox/Envelope.h"
#include "sandbox/Pictures.h"
#include "sandbox/Records.h"
#include "sandbox/Routes.h"
#include "sandbox/ServiceContext.h"
#include "sandbox/TextRules.h"

#include <chrono>
#include <cstdio>
#include <ctime>

namespace zorlet::sandbox {

namespace {

struct ProfileChange {
    std::optional<std::string> nickname;
    std::optional<int> gender;
    std::optional<std::chrono::year_month_day> birth;
    std::optional<std::pair<std::int64_t, std::string>> profession;
    std::optional<CityInfo> city;
    std::optional<std::string> feature;
    std::optional<std::string> logoBytes;
};

Reply refuse(const char* info) {
    return Envelope::refuse(ErrorCode::BadParameter, info);
}

std::optional<std::chrono::year_month_day> parseBirth(const std::string& text, std::int64_t now) {
    int year = 0;
    int month = 0;
    int day = 0;
    char tail = 0;
    // "1990-01-05" from the date picker, "1990-1-5" from the form's label.
    if (std::sscanf(text.c_str(), "%d-%d-%d%c", &year, &month, &day, &tail) != 3) {
        return std::nullopt;
    }
    std::chrono::year_month_day date{std::chrono::year(year),
                                     std::chrono::month(static_cast<unsigned>(month)),
                                     std::chrono::day(static_cast<unsigned>(day))};
    if (!date.ok() || year < 1900) {
        return std::nullopt;
    }
    auto today = std::chrono::year_month_day(std::chrono::floor<std::chrono::days>(
        std::chrono::system_clock::from_time_t(static_cast<std::time_t>(now))));
    if (std::chrono::sys_days(date) > std::chrono::sys_days(today)) {
        return std::nullopt;
    }
    return date;
}

// Reads and checks the form. The guide must carry every field; the profile form
// may leave a field out to keep it, except the self-description, which the
// client leaves out when the user cleared it.
std::optional<Reply> readChange(const Call& call, bool guide, ProfileChange& change) {
    const auto& params = call.params;
    const auto& reference = call.service.reference;

    if (auto nickname = params.text("nickname")) {
        auto trimmed = UnicodeText::trimmed(*nickname);
        auto length = static_cast<std::int64_t>(UnicodeText::chineseLength(trimmed));
        if (length < 1 || length > 20) {
            return refuse("昵称必须1-10个字以内");
        }
        change.nickname = trimmed;
    }

    auto gender = params.text("gender").value_or("");
    if (!gender.empty()) {
        auto value = TextRules::parseInteger(gender);
        if (!value || (*value != 0 && *value != 1)) {
            return refuse("请选择性别");
        }
        change.gender = static_cast<int>(*value);
    } else if (guide) {
        return refuse("请选择性别");
    }

    auto birth = UnicodeText::trimmed(params.text("birth").value_or(""));
    if (!birth.empty()) {
        change.birth = parseBirth(birth, call.view.now);
        if (!change.birth) {
            return refuse("生日格式不正确");
        }
    } else if (guide) {
        return refuse("请填写生日");
    }

    auto cityText = params.text("cityId").value_or("");
    // The profile form sends the location it shows; 0 is a user who never chose one.
    if (!guide && TextRules::parseInteger(cityText) == std::optional<std::int64_t>(0)) {
        cityText.clear();
    }
    if (!cityText.empty()) {
        auto cityId = TextRules::parseInteger(cityText);
        if (!cityId || *cityId < 1) {
            return refuse("请选择所在地");
        }
        change.city = reference.city(*cityId);
        if (!change.city) {
            // Without the reference lists any city id is taken as it comes.
            if (reference.hasCities()) {
                return refuse("请选择所在地");
            }
            change.city = CityInfo{*cityId, "", 0, ""};
        }
    } else if (guide) {
        return refuse("请选择所在地");
    }

    auto professionIdText = params.text("professionId").value_or("");
    auto professionText = UnicodeText::trimmed(params.text("profession").value_or(""));
    // Likewise a profession id 0 without a text: nothing chosen yet.
    if (professionText.empty() &&
        TextRules::parseInteger(professionIdText) == std::optional<std::int64_t>(0)) {
        professionIdText.clear();
    }
    if (!professionIdText.empty() || !professionText.empty()) {
        auto professionId = professionIdText.empty() ? std::optional<std::int64_t>(0)
                                                     : TextRules::parseInteger(professionIdText);
        if (!professionId || *professionId < 0) {
            return refuse("请选择职业");
        }
        if (*professionId > 0) {
            auto name = reference.professionName(*professionId);
            if (!name && !reference.professions().empty()) {
                return refuse("请选择职业");
            }
            change.profession = {*professionId, name ? *name : professionText};
        } else {
            auto length = static_cast<std::int64_t>(UnicodeText::chineseLength(professionText));
            if (length <= 1) {
                return refuse("职业描述不能少于1个字");
            }
            if (length >= 21) {
                return refuse("职业描述请不要超过10个字");
            }
            change.profession = {0, professionText};
        }
    } else if (guide) {
        return refuse("请选择职业");
    }

    if (auto feature = params.text("feature")) {
        auto trimmed = UnicodeText::trimmed(*feature);
        if (UnicodeText::chineseLength(trimmed) >= 141) {
            return refuse("个人简介请不要超过70个字");
        }
        change.feature = trimmed;
    } else if (!guide) {
        change.feature = std::string();
    }

    if (const auto* logo = params.file("logo")) {
        change.logoBytes = logo->content;
    }
    return std::nullopt;
}

Reply save(Call& call, bool guide) {
    ProfileChange change;
    if (auto refusal = readChange(call, guide, change)) {
        return *refusal;
    }
    std::optional<Pictures::Checked> picture;
    if (change.logoBytes) {
        if (change.logoBytes->size() > Pictures::maxBytes) {
            return Envelope::refuse(ErrorCode::BadPicture, "照片不能超过5MB");
        }
        picture = Pictures::check(*change.logoBytes);
        if (!picture) {
            return Envelope::refuse(ErrorCode::BadPicture, "照片格式不正确，请选择JPEG或PNG图片");
        }
    }
    Reply reply;
    call.service.database.write([&](Connection& connection) {
        auto uid = *call.uid;
        auto current = Records::user(connection, uid);
        if (!current) {
            reply = Envelope::unauthorized();
            return;
        }
        if (change.nickname && *change.nickname != current->nickname &&
            Records::nicknameTaken(connection, *change.nickname, uid)) {
            reply = Envelope::refuse(ErrorCode::NicknameTaken, "该昵称已被使用，换一个吧");
            return;
        }
        auto update = [&](const char* sql, auto... values) {
            auto statement = connection.prepare(sql);
            int index = 1;
            ((statement.bind(index++, values)), ...);
            statement.bind(index, uid);
            statement.run();
        };
        if (change.nickname) {
            update("UPDATE users SET nickname = ? WHERE uid = ?", *change.nickname);
        }
        if (change.gender) {
            update("UPDATE users SET gender = ? WHERE uid = ?", *change.gender);
        }
        if (change.birth) {
            update("UPDATE users SET birth_year = ?, birth_month = ?, birth_day = ? WHERE uid = ?",
                   static_cast<int>(change.birth->year()), static_cast<int>(unsigned(change.birth->month())),
                   static_cast<int>(unsigned(change.birth->day())));
        }
        if (change.city) {
            update(
                "UPDATE users SET city_id = ?, city_name = ?, province_id = ?, province_name = ? WHERE uid = "
                "?",
                change.city->cityId, change.city->cityName, change.city->provinceId,
                change.city->provinceName);
        }
        if (change.profession) {
            update("UPDATE users SET profession_id = ?, profession = ? WHERE uid = ?",
                   change.profession->first, change.profession->second);
        }
        if (change.feature) {
            update("UPDATE users SET feature = ? WHERE uid = ?", *change.feature);
        }
        if (picture) {
            auto name = call.service.pictures.store(connection, *change.logoBytes, *picture, uid);
            if (!name) {
                reply = Envelope::serverFault();
                return;
            }
            update("UPDATE users SET logo = ?, new_logo = ?, logo_verify_state = 1 WHERE uid = ?", *name,
                   *name);
        }
        if (guide) {
            update("UPDATE users SET has_guided = 1 WHERE uid = ?");
        }
        auto saved = Records::user(connection, uid);
        reply =
            saved ? Envelope::ok(Views::user(connection, *saved, call.view, true)) : Envelope::unauthorized();
    });
    return reply;
}

}  // namespace

void ProfileHandlers::install(Routes& routes) {
    routes.api("/profile/save", Access::SignedIn, [](Call& call) { return save(call, false); });
    routes.api("/profile/guide", Access::SignedIn, [](Call& call) { return save(call, true); });
}

}  // namespace zorlet::sandbox
