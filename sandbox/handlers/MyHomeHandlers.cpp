#include "sandbox/handlers/MyHomeHandlers.h"

#include "platform/UnicodeText.h"
#include "sandbox/Connection.h"
#include "sandbox/Envelope.h"
#include "sandbox/PreferenceCatalog.h"
#include "sandbox/Records.h"
#include "sandbox/Routes.h"
#include "sandbox/ServiceContext.h"
#include "sandbox/TextRules.h"
#include "sandbox/Views.h"

#include <algorithm>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

namespace zorlet::sandbox {

namespace {

constexpr std::string_view answersPrefix = "userPreferences[";
// Far more than the questionnaire has; keeps a hostile form from growing without bound.
constexpr std::int64_t maxIndex = 100;
// A supplement of 50 Chinese characters.
constexpr int maxDescriptionLength = 100;

// One question's part of the save form.
struct Submitted {
    std::optional<std::string> preferenceId;
    std::optional<std::string> description;
    std::map<std::int64_t, std::string> answers;
};

// The answer stored for one question, ready to write.
struct Checked {
    std::int64_t preferenceId = 0;
    nlohmann::json answer = nlohmann::json::array();
    std::optional<std::string> description;
};

Reply malformed() {
    return Envelope::refuse(ErrorCode::BadParameter, "提交的问卷格式不正确");
}

// Reads a non-negative decimal index up to `close`; advances `at` past it.
std::optional<std::int64_t> readIndex(std::string_view name, size_t& at, char close) {
    size_t end = name.find(close, at);
    if (end == std::string_view::npos || end == at || end - at > 3) {
        return std::nullopt;
    }
    auto index = TextRules::parseInteger(name.substr(at, end - at));
    if (!index || *index < 0 || *index >= maxIndex) {
        return std::nullopt;
    }
    at = end + 1;
    return index;
}

// Splits the form into its questions; false when a field does not have the expected shape.
bool collect(const Call& call, std::map<std::int64_t, Submitted>& questions) {
    std::vector<std::pair<std::string, std::string>> fields(call.request.params.begin(),
                                                            call.request.params.end());
    for (const auto& [name, part] : call.request.files) {
        if (part.filename.empty()) {
            fields.emplace_back(name, part.content);
        }
    }
    for (const auto& [name, value] : fields) {
        std::string_view key = name;
        if (key.substr(0, answersPrefix.size()) != answersPrefix) {
            continue;
        }
        size_t at = answersPrefix.size();
        auto index = readIndex(key, at, ']');
        if (!index || at >= key.size() || key[at] != '.') {
            return false;
        }
        std::string_view field = key.substr(at + 1);
        Submitted& question = questions[*index];
        if (field == "preferenceId") {
            if (question.preferenceId) {
                return false;
            }
            question.preferenceId = value;
        } else if (field == "description") {
            if (question.description) {
                return false;
            }
            question.description = value;
        } else if (field.substr(0, 7) == "answer[") {
            size_t answerAt = 7;
            auto answerIndex = readIndex(field, answerAt, ']');
            if (!answerIndex || answerAt != field.size() || question.answers.count(*answerIndex)) {
                return false;
            }
            question.answers[*answerIndex] = value;
        } else {
            return false;
        }
    }
    return true;
}

const nlohmann::json* catalogueQuestion(std::int64_t preferenceId) {
    for (const auto& question : PreferenceCatalog::questions()) {
        if (question["preferenceId"].get<std::int64_t>() == preferenceId) {
            return &question;
        }
    }
    return nullptr;
}

// Checks one question's answers against the catalogue; the refusal says what is wrong.
std::optional<Reply> check(const Submitted& submitted, Checked& checked) {
    auto preferenceId = TextRules::parseInteger(submitted.preferenceId.value_or(""));
    if (!preferenceId) {
        return malformed();
    }
    const nlohmann::json* question = catalogueQuestion(*preferenceId);
    if (!question) {
        return Envelope::refuse(ErrorCode::BadParameter, "问卷中没有这个问题");
    }
    checked.preferenceId = *preferenceId;
    std::string title = (*question)["title"].get<std::string>();
    std::vector<std::string> answers;
    std::int64_t expected = 0;
    for (const auto& [index, value] : submitted.answers) {
        // Answers are numbered from 0 without gaps.
        if (index != expected++) {
            return malformed();
        }
        answers.push_back(value);
    }
    int inputType = (*question)["inputType"].get<int>();
    auto optionCount = static_cast<std::int64_t>((*question)["options"].size());
    auto low = (*question)["minValidationValue"].get<std::int64_t>();
    auto high = (*question)["maxValidationValue"].get<std::int64_t>();
    auto count = static_cast<std::int64_t>(answers.size());
    auto option = [&](const std::string& text) -> std::optional<std::int64_t> {
        auto value = TextRules::parseInteger(text);
        if (!value || *value < 0 || *value >= optionCount) {
            return std::nullopt;
        }
        return value;
    };
    if (inputType == 0) {
        if (count > 0 && (count < low || count > high)) {
            return Envelope::refuse(ErrorCode::BadParameter, "“" + title + "”请选择" + std::to_string(low) +
                                                                 "到" + std::to_string(high) + "项");
        }
        std::set<std::int64_t> seen;
        for (const auto& text : answers) {
            auto value = option(text);
            if (!value || !seen.insert(*value).second) {
                return Envelope::refuse(ErrorCode::BadParameter, "“" + title + "”没有这个选项");
            }
            checked.answer.push_back(std::to_string(*value));
        }
    } else if (inputType == 1) {
        if (count > 1) {
            return Envelope::refuse(ErrorCode::BadParameter, "“" + title + "”只能选择一项");
        }
        for (const auto& text : answers) {
            auto value = option(text);
            if (!value) {
                return Envelope::refuse(ErrorCode::BadParameter, "“" + title + "”没有这个选项");
            }
            checked.answer.push_back(*value);
        }
    } else if (inputType == 2) {
        if (count != 0 && count != 2) {
            return Envelope::refuse(ErrorCode::BadParameter, "“" + title + "”需要一个最小值和一个最大值");
        }
        std::vector<std::int64_t> values;
        for (const auto& text : answers) {
            auto value = TextRules::parseInteger(text);
            if (!value || *value < low || *value > high) {
                return Envelope::refuse(
                    ErrorCode::BadParameter,
                    "“" + title + "”的数值应在" + std::to_string(low) + "到" + std::to_string(high) + "之间");
            }
            values.push_back(*value);
        }
        if (values.size() == 2 && values[0] > values[1]) {
            return Envelope::refuse(ErrorCode::BadParameter, "“" + title + "”的最小值不能大于最大值");
        }
        for (auto value : values) {
            checked.answer.push_back(value);
        }
    } else {
        if (count > 1) {
            return malformed();
        }
        if (count == 1) {
            auto text = UnicodeText::trimmed(answers.front());
            auto length = static_cast<std::int64_t>(UnicodeText::chineseLength(text));
            if (length > high) {
                return Envelope::refuse(ErrorCode::BadParameter,
                                        "“" + title + "”请不要超过" + std::to_string(high / 2) + "字");
            }
            if (length < low) {
                return Envelope::refuse(ErrorCode::BadParameter, "“" + title + "”请输入内容");
            }
            if (!text.empty()) {
                checked.answer.push_back(text);
            }
        }
    }
    if (submitted.description) {
        if (!(*question)["openDescription"].get<bool>()) {
            return Envelope::refuse(ErrorCode::BadParameter, "“" + title + "”没有补充说明");
        }
        auto text = UnicodeText::trimmed(*submitted.description);
        if (UnicodeText::chineseLength(text) > maxDescriptionLength) {
            return Envelope::refuse(ErrorCode::BadParameter, "补充说明请不要超过50字");
        }
        checked.description = text;
    }
    return std::nullopt;
}

Reply ownHome(Connection& connection, const Call& call) {
    auto user = Records::user(connection, *call.uid);
    // The caller's own user gone (removed since the session was checked): the session is over.
    return user ? Envelope::ok(Views::home(connection, *user, call.view)) : Envelope::unauthorized();
}

Reply refresh(Call& call) {
    Reply reply;
    call.service.database.read([&](Connection& connection) { reply = ownHome(connection, call); });
    return reply;
}

Reply savePreference(Call& call) {
    std::map<std::int64_t, Submitted> submitted;
    if (!collect(call, submitted)) {
        return malformed();
    }
    std::vector<Checked> answers;
    std::set<std::int64_t> questionIds;
    for (const auto& [index, question] : submitted) {
        Checked checked;
        if (auto refusal = check(question, checked)) {
            return *refusal;
        }
        if (!questionIds.insert(checked.preferenceId).second) {
            return Envelope::refuse(ErrorCode::BadParameter, "同一个问题提交了两次");
        }
        answers.push_back(std::move(checked));
    }
    Reply reply;
    call.service.database.write([&](Connection& connection) {
        for (const auto& checked : answers) {
            // A question sent without its supplement keeps the stored one.
            connection
                .prepare(
                    "INSERT INTO preference_answers (uid, preference_id, answer, description) VALUES (?, ?, "
                    "?, ?) "
                    "ON CONFLICT(uid, preference_id) DO UPDATE SET answer = excluded.answer, "
                    "description = CASE WHEN ? THEN excluded.description ELSE description END")
                .bind(1, *call.uid)
                .bind(2, checked.preferenceId)
                .bind(3, checked.answer.dump())
                .bind(4, checked.description.value_or(""))
                .bind(5, checked.description ? 1 : 0)
                .run();
        }
        reply = ownHome(connection, call);
    });
    return reply;
}

// "1"/"0" as the client sends booleans, "true"/"false" as people type them.
std::optional<bool> flag(const Call& call, const std::string& name) {
    auto text = call.params.text(name);
    if (!text) {
        return std::nullopt;
    }
    if (*text == "1" || *text == "true") {
        return true;
    }
    if (*text == "0" || *text == "false") {
        return false;
    }
    return std::nullopt;
}

Reply savePrivacy(Call& call) {
    if (auto uidText = call.params.text("uid"); uidText && !uidText->empty()) {
        auto uid = TextRules::parseInteger(*uidText);
        if (!uid) {
            return Envelope::refuse(ErrorCode::BadParameter, "用户参数不正确");
        }
        if (*uid != *call.uid) {
            return Envelope::refuse(ErrorCode::NotAllowed, "只能修改自己的隐私设置");
        }
    }
    auto locationSecret = flag(call, "locationSecret");
    auto phoneSecret = flag(call, "phoneSecret");
    auto synchronizeSecret = flag(call, "synchronizeSecret");
    if (!locationSecret || !phoneSecret || !synchronizeSecret) {
        return Envelope::refuse(ErrorCode::BadParameter, "隐私设置参数不正确");
    }
    Reply reply;
    call.service.database.write([&](Connection& connection) {
        connection
            .prepare(
                "UPDATE users SET location_secret = ?, phone_secret = ?, synchronize_secret = ? WHERE uid = "
                "?")
            .bind(1, *locationSecret ? 1 : 0)
            .bind(2, *phoneSecret ? 1 : 0)
            .bind(3, *synchronizeSecret ? 1 : 0)
            .bind(4, *call.uid)
            .run();
        reply = ownHome(connection, call);
    });
    return reply;
}

}  // namespace

void MyHomeHandlers::install(Routes& routes) {
    routes.api("/home/v132/refresh", Access::SignedIn, refresh);
    routes.api("/home/v132/savePreference", Access::SignedIn, savePreference);
    routes.api("/profile/v132/savePrivacy", Access::SignedIn, savePrivacy);
}

}  // namespace zorlet::sandbox
