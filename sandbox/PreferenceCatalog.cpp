#include "sandbox/PreferenceCatalog.h"

#include "sandbox/Connection.h"

#include <map>

namespace zorlet::sandbox {

namespace {

nlohmann::json options(std::initializer_list<const char*> names) {
    auto list = nlohmann::json::array();
    int value = 0;
    for (const char* name : names) {
        list.push_back({{"name", name}, {"value", value++}});
    }
    return list;
}

nlohmann::json question(int id, const char* title, int inputType, bool openDescription,
                        nlohmann::json choices, int minValue, int maxValue) {
    return {
        {"preferenceId", id},
        {"title", title},
        {"inputType", inputType},
        {"tip", "还没有填写"},
        {"openDescription", openDescription},
        {"options", std::move(choices)},
        {"minValidationValue", minValue},
        {"maxValidationValue", maxValue},
    };
}

// The text shown for an answer; the client shows it as it comes.
std::string displayAnswer(const nlohmann::json& question, const nlohmann::json& answer) {
    const auto& choices = question["options"];
    int inputType = question["inputType"].get<int>();
    std::string text;
    auto optionName = [&](const nlohmann::json& value) -> std::string {
        long long index = -1;
        if (value.is_number_integer()) {
            index = value.get<long long>();
        } else if (value.is_string()) {
            index = std::atoll(value.get<std::string>().c_str());
        }
        if (index >= 0 && index < static_cast<long long>(choices.size())) {
            return choices[static_cast<size_t>(index)]["name"].get<std::string>();
        }
        return {};
    };
    if (inputType == 0 || inputType == 1) {
        for (const auto& value : answer) {
            auto name = optionName(value);
            if (name.empty()) {
                continue;
            }
            if (!text.empty()) {
                text += "、";
            }
            text += name;
        }
    } else if (inputType == 2 && answer.size() == 2 && answer[0].is_number() && answer[1].is_number()) {
        text = std::to_string(answer[0].get<long long>()) + "-" + std::to_string(answer[1].get<long long>());
    } else if (inputType == 3 && answer.size() == 1 && answer[0].is_string()) {
        text = answer[0].get<std::string>();
    }
    return text;
}

}  // namespace

const nlohmann::json& PreferenceCatalog::questions() {
    static const nlohmann::json list = nlohmann::json::array({
        question(1, "你喜欢怎么出去玩", 0, true,
                 options({"户外运动", "看展览", "吃美食", "看电影", "泡吧", "逛街"}), 1, 3),
        question(2, "你通常什么时候有空", 1, false,
                 options({"工作日晚上", "周末白天", "周末晚上", "随时都可以"}), 0, 0),
        question(3, "一次出去玩的预算（元）", 2, false, nlohmann::json::array(), 0, 1000),
        question(4, "最想去的地方", 3, false, nlohmann::json::array(), 2, 60),
    });
    return list;
}

nlohmann::json PreferenceCatalog::viewsFor(Connection& connection, std::int64_t uid) {
    std::map<std::int64_t, std::pair<nlohmann::json, std::string>> stored;
    auto query =
        connection.prepare("SELECT preference_id, answer, description FROM preference_answers WHERE uid = ?");
    query.bind(1, uid);
    while (query.step()) {
        auto answer = nlohmann::json::parse(query.text(1), nullptr, false);
        stored[query.integer(0)] = {answer.is_array() ? answer : nlohmann::json::array(), query.text(2)};
    }
    auto views = nlohmann::json::array();
    for (auto view : questions()) {
        auto found = stored.find(view["preferenceId"].get<std::int64_t>());
        auto answer = found != stored.end() ? found->second.first : nlohmann::json::array();
        view["answer"] = answer;
        view["displayAnswer"] = displayAnswer(view, answer);
        view["description"] = found != stored.end() ? found->second.second : std::string();
        views.push_back(std::move(view));
    }
    return views;
}

}  // namespace zorlet::sandbox
