#include "platform/Json.h"

#include "platform/JsonDepth.h"

#include <charconv>
#include <cmath>
#include <limits>

namespace zorlet {

namespace {

const Json& member(const Json& object, std::string_view key) {
    static const Json null;
    if (!object.is_object()) {
        return null;
    }
    auto it = object.find(key);
    return it == object.end() ? null : *it;
}

std::optional<double> numberFromText(const std::string& text) {
    if (text.empty()) {
        return std::nullopt;
    }
    double value = 0;
    auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (ec != std::errc() || end != text.data() + text.size() || !std::isfinite(value)) {
        return std::nullopt;
    }
    return value;
}

}  // namespace

bool jsonNestsDeeperThan(std::string_view text, std::size_t limit) {
    std::size_t depth = 0;
    bool inString = false;
    bool escaped = false;
    for (char c : text) {
        if (inString) {
            if (escaped) {
                escaped = false;
            } else if (c == '\\') {
                escaped = true;
            } else if (c == '"') {
                inString = false;
            }
            continue;
        }
        if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > limit) {
                return true;
            }
        } else if ((c == ']' || c == '}') && depth > 0) {
            --depth;
        }
    }
    return false;
}

std::optional<Json> parseJson(std::string_view text) {
    if (jsonNestsDeeperThan(text, kMaxJsonDepth)) {
        return std::nullopt;
    }
    Json value = Json::parse(text, nullptr, /*allow_exceptions=*/false);
    if (value.is_discarded()) {
        return std::nullopt;
    }
    return value;
}

std::optional<OrderedJson> parseOrderedJson(std::string_view text) {
    if (jsonNestsDeeperThan(text, kMaxJsonDepth)) {
        return std::nullopt;
    }
    OrderedJson value = OrderedJson::parse(text, nullptr, /*allow_exceptions=*/false);
    if (value.is_discarded()) {
        return std::nullopt;
    }
    return value;
}

std::string jsonStringValue(const Json& value) {
    if (value.is_string()) {
        return value.get<std::string>();
    }
    if (value.is_number()) {
        return jsonTextForm(value);
    }
    return {};
}

std::int64_t jsonIntValue(const Json& value) {
    double number = 0;
    if (value.is_number_integer()) {
        return value.get<std::int64_t>();
    }
    if (value.is_number_float()) {
        number = value.get<double>();
    } else if (value.is_boolean()) {
        return value.get<bool>() ? 1 : 0;
    } else if (value.is_string()) {
        number = numberFromText(value.get<std::string>()).value_or(0);
    } else {
        return 0;
    }
    if (!std::isfinite(number) || number >= 9.2e18 || number <= -9.2e18) {
        return 0;
    }
    return static_cast<std::int64_t>(number);
}

double jsonDoubleValue(const Json& value) {
    if (value.is_number()) {
        double number = value.get<double>();
        return std::isfinite(number) ? number : 0;
    }
    if (value.is_string()) {
        return numberFromText(value.get<std::string>()).value_or(0);
    }
    if (value.is_boolean()) {
        return value.get<bool>() ? 1 : 0;
    }
    return 0;
}

bool jsonBoolValue(const Json& value) {
    if (value.is_boolean()) {
        return value.get<bool>();
    }
    if (value.is_number()) {
        return value.get<double>() != 0;
    }
    if (value.is_string()) {
        const auto& text = value.get_ref<const std::string&>();
        return text == "true" || text == "1" || text == "yes";
    }
    return false;
}

std::string jsonString(const Json& object, std::string_view key) {
    return jsonStringValue(member(object, key));
}

std::int64_t jsonInt(const Json& object, std::string_view key) {
    return jsonIntValue(member(object, key));
}

double jsonDouble(const Json& object, std::string_view key) {
    return jsonDoubleValue(member(object, key));
}

bool jsonBool(const Json& object, std::string_view key) {
    return jsonBoolValue(member(object, key));
}

const Json& jsonObject(const Json& object, std::string_view key) {
    static const Json empty = Json::object();
    const Json& value = member(object, key);
    return value.is_object() ? value : empty;
}

const Json& jsonArray(const Json& object, std::string_view key) {
    static const Json empty = Json::array();
    const Json& value = member(object, key);
    return value.is_array() ? value : empty;
}

bool jsonHas(const Json& object, std::string_view key) {
    return !member(object, key).is_null();
}

std::string jsonTextForm(const Json& value) {
    if (value.is_string()) {
        return value.get<std::string>();
    }
    if (value.is_number_integer()) {
        return value.dump();
    }
    if (value.is_number_float()) {
        double number = value.get<double>();
        if (std::isfinite(number) && number == std::floor(number) && std::fabs(number) < 1e15) {
            return std::to_string(static_cast<long long>(number));
        }
        return value.dump();
    }
    if (value.is_boolean()) {
        return value.get<bool>() ? "1" : "0";
    }
    if (value.is_null()) {
        return {};
    }
    return value.dump();
}

}  // namespace zorlet
