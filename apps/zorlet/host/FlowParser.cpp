#include "host/FlowParser.h"

#include <yaml-cpp/yaml.h>

#include <charconv>
#include <fstream>
#include <set>
#include <sstream>

namespace zorlet {

namespace {

// Aliases let a few hundred bytes name billions of values, and variables can repeat
// each other the same way: both are cut off long before memory or time run out.
constexpr int largestPayload = 10000;
constexpr std::size_t longestValue = 65536;
// Error messages quote a bad value only this far.
constexpr std::size_t longestQuote = 40;

enum class ValueType { Text, Bool, Integer, Number, Any };

struct CommandRule {
    // The key a bare scalar argument stands for; empty when only a map (or nothing) is taken.
    std::string scalarKey;
    std::map<std::string, ValueType> keys;
    // At least one of these must be given; empty means the command may stand alone.
    std::vector<std::string> needsOneOf;
    // Every key listed here must be given.
    std::vector<std::string> needsAll;
};

const std::map<std::string, CommandRule>& rules() {
    using V = ValueType;
    static const std::map<std::string, CommandRule> table = {
        {"launchApp",
         {"appId",
          {{"appId", V::Text}, {"clearState", V::Bool}, {"stopApp", V::Bool}, {"skipGuidance", V::Bool}},
          {},
          {}}},
        {"tapOn",
         {"text",
          {{"text", V::Text}, {"id", V::Text}, {"point", V::Text}, {"index", V::Integer}},
          {"text", "id", "point"},
          {}}},
        {"inputText", {"text", {{"text", V::Text}}, {}, {"text"}}},
        {"eraseText", {"charactersToErase", {{"charactersToErase", V::Integer}}, {}, {}}},
        {"assertVisible",
         {"text",
          {{"text", V::Text}, {"id", V::Text}, {"index", V::Integer}, {"enabled", V::Bool}},
          {"text", "id"},
          {}}},
        {"assertNotVisible",
         {"text", {{"text", V::Text}, {"id", V::Text}, {"enabled", V::Bool}}, {"text", "id"}, {}}},
        {"back", {"", {}, {}, {}}},
        {"hideKeyboard", {"", {}, {}, {}}},
        {"scroll", {"", {}, {}, {}}},
        {"swipe",
         {"direction",
          {{"direction", V::Text}, {"start", V::Text}, {"end", V::Text}, {"duration", V::Integer}},
          {"direction", "start"},
          {}}},
        {"takeScreenshot", {"path", {{"path", V::Text}}, {}, {"path"}}},
        {"waitForAnimationToEnd", {"", {{"timeout", V::Integer}}, {}, {}}},
        {"advanceClock", {"seconds", {{"seconds", V::Number}}, {}, {"seconds"}}},
        {"setNetwork", {"on", {{"on", V::Bool}}, {}, {"on"}}},
        {"setLocation",
         {"", {{"latitude", V::Number}, {"longitude", V::Number}}, {}, {"latitude", "longitude"}}},
        {"deliverPush", {"", {}, {}, {}}},
        {"pickImage", {"file", {{"file", V::Text}}, {}, {"file"}}},
        {"answerAlert", {"button", {{"button", V::Text}}, {}, {"button"}}},
        {"pressKey", {"key", {{"key", V::Text}}, {}, {"key"}}},
        {"dumpScreen", {"path", {{"path", V::Text}}, {}, {}}},
        {"background", {"", {}, {}, {}}},
        {"foreground", {"", {}, {}, {}}},
        {"answerComposer", {"result", {{"result", V::Text}}, {}, {"result"}}},
        {"assertComposer", {"", {{"recipients", V::Text}, {"subject", V::Text}, {"body", V::Text}}, {}, {}}},
        {"assertOpenedUrl", {"url", {{"url", V::Text}}, {}, {}}},
    };
    return table;
}

std::string at(const YAML::Node& node) {
    return "line " + std::to_string(node.Mark().line + 1);
}

std::string shortQuote(const std::string& text) {
    if (text.size() <= longestQuote) {
        return "\"" + text + "\"";
    }
    std::size_t cut = longestQuote;
    while (cut > 0 && (static_cast<unsigned char>(text[cut]) & 0xC0) == 0x80) {
        --cut;  // not inside a UTF-8 sequence
    }
    return "\"" + text.substr(0, cut) + "…\"";
}

// Replaces ${NAME}; false (with `error`) for a name nobody defined or a result too long.
bool substitute(std::string& text, const FlowParser::Variables& variables, std::string& error) {
    std::string out;
    auto tooLong = [&] {
        error = "a value longer than " + std::to_string(longestValue) + " bytes after replacing variables";
        return false;
    };
    std::size_t pos = 0;
    while (true) {
        std::size_t start = text.find("${", pos);
        if (start == std::string::npos) {
            out += text.substr(pos);
            break;
        }
        std::size_t end = text.find('}', start + 2);
        if (end == std::string::npos) {
            out += text.substr(pos);
            break;
        }
        std::string name = text.substr(start + 2, end - start - 2);
        auto found = variables.find(name);
        if (found == variables.end()) {
            error = "unknown variable ${" + name + "}";
            return false;
        }
        if (out.size() + (start - pos) + found->second.size() > longestValue) {
            return tooLong();
        }
        out += text.substr(pos, start - pos) + found->second;
        pos = end + 1;
    }
    if (out.size() > longestValue) {
        return tooLong();
    }
    text = std::move(out);
    return true;
}

std::optional<Json> typedValue(std::string text, ValueType type) {
    switch (type) {
        case ValueType::Text:
        case ValueType::Any:
            return Json(std::move(text));
        case ValueType::Bool:
            if (text == "true" || text == "on" || text == "yes") {
                return Json(true);
            }
            if (text == "false" || text == "off" || text == "no") {
                return Json(false);
            }
            return std::nullopt;
        case ValueType::Integer: {
            long long value = 0;
            auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
            if (ec != std::errc() || ptr != text.data() + text.size()) {
                return std::nullopt;
            }
            return Json(value);
        }
        case ValueType::Number: {
            double value = 0;
            auto [ptr, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
            if (ec != std::errc() || ptr != text.data() + text.size()) {
                return std::nullopt;
            }
            return Json(value);
        }
    }
    return std::nullopt;
}

const char* typeName(ValueType type) {
    switch (type) {
        case ValueType::Bool:
            return "true or false";
        case ValueType::Integer:
            return "a whole number";
        case ValueType::Number:
            return "a number";
        default:
            return "text";
    }
}

// A push payload: scalars become numbers or booleans when they read as such.
std::optional<Json> payload(const YAML::Node& node, const FlowParser::Variables& variables,
                            std::string& error, int& budget) {
    if (--budget < 0) {
        error = "the payload has more than " + std::to_string(largestPayload) + " values";
        return std::nullopt;
    }
    if (node.IsMap()) {
        Json object = Json::object();
        for (const auto& entry : node) {
            auto value = payload(entry.second, variables, error, budget);
            if (!value) {
                return std::nullopt;
            }
            object[entry.first.as<std::string>()] = std::move(*value);
        }
        return object;
    }
    if (node.IsSequence()) {
        Json array = Json::array();
        for (const auto& element : node) {
            auto value = payload(element, variables, error, budget);
            if (!value) {
                return std::nullopt;
            }
            array.push_back(std::move(*value));
        }
        return array;
    }
    if (node.IsNull()) {
        return Json();
    }
    std::string text = node.as<std::string>();
    if (!substitute(text, variables, error)) {
        return std::nullopt;
    }
    if (node.Tag() != "!") {  // quoted scalars stay text
        for (ValueType type : {ValueType::Integer, ValueType::Number, ValueType::Bool}) {
            if (auto value = typedValue(text, type)) {
                return value;
            }
        }
    }
    return Json(text);
}

}  // namespace

bool FlowParser::isKnownCommand(const std::string& name) {
    return rules().count(name) != 0;
}

std::optional<FlowCommand> FlowParser::parseCommand(const YAML::Node& item, const Variables& variables,
                                                    std::string& error) {
    FlowCommand command;
    command.line = item.Mark().line + 1;
    YAML::Node argument;
    if (item.IsScalar()) {
        command.name = item.as<std::string>();
    } else if (item.IsMap() && item.size() == 1) {
        command.name = item.begin()->first.as<std::string>();
        argument = item.begin()->second;
    } else {
        error = at(item) + ": a step is a command name or a map with one command";
        return std::nullopt;
    }
    auto rule = rules().find(command.name);
    if (rule == rules().end()) {
        error = at(item) + ": unknown command " + command.name;
        return std::nullopt;
    }
    const CommandRule& commandRule = rule->second;
    std::string where = at(item) + ": " + command.name;

    if (command.name == "deliverPush") {
        if (argument && !argument.IsNull()) {
            if (!argument.IsMap()) {
                error = where + " takes a map (the notification's payload)";
                return std::nullopt;
            }
            int budget = largestPayload;
            auto value = payload(argument, variables, error, budget);
            if (!value) {
                error = where + ": " + error;
                return std::nullopt;
            }
            command.arguments["payload"] = std::move(*value);
        }
        return command;
    }

    auto setValue = [&](const std::string& key, const YAML::Node& node) {
        if (key == "optional") {
            std::string text = node.IsScalar() ? node.as<std::string>() : "";
            auto flag = typedValue(text, ValueType::Bool);
            if (!flag) {
                error = where + ": optional must be true or false";
                return false;
            }
            command.optional = flag->get<bool>();
            return true;
        }
        auto known = commandRule.keys.find(key);
        if (known == commandRule.keys.end()) {
            error = where + " has no argument " + key;
            return false;
        }
        if (!node.IsScalar()) {
            error = where + ": " + key + " must be " + typeName(known->second);
            return false;
        }
        std::string text = node.as<std::string>();
        if (!substitute(text, variables, error)) {
            error = where + ": " + error;
            return false;
        }
        auto value = typedValue(text, known->second);
        if (!value) {
            error = where + ": " + key + " must be " + typeName(known->second) + ", not " + shortQuote(text);
            return false;
        }
        command.arguments[key] = std::move(*value);
        return true;
    };

    if (argument && argument.IsScalar()) {
        if (commandRule.scalarKey.empty()) {
            error = where + " takes no value";
            return std::nullopt;
        }
        if (!setValue(commandRule.scalarKey, argument)) {
            return std::nullopt;
        }
    } else if (argument && argument.IsMap()) {
        for (const auto& entry : argument) {
            if (!setValue(entry.first.as<std::string>(), entry.second)) {
                return std::nullopt;
            }
        }
    } else if (argument && !argument.IsNull()) {
        error = where + " takes a value or a map, not a list";
        return std::nullopt;
    }

    for (const std::string& key : commandRule.needsAll) {
        if (!command.arguments.contains(key)) {
            error = where + " needs " + key;
            return std::nullopt;
        }
    }
    if (!commandRule.needsOneOf.empty()) {
        bool any = false;
        std::string names;
        for (const std::string& key : commandRule.needsOneOf) {
            any = any || command.arguments.contains(key);
            names += (names.empty() ? "" : " or ") + key;
        }
        if (!any) {
            error = where + " needs " + names;
            return std::nullopt;
        }
    }
    if (command.name == "swipe" && command.arguments.contains("start") != command.arguments.contains("end")) {
        error = where + " needs both start and end";
        return std::nullopt;
    }
    return command;
}

std::optional<Flow> FlowParser::parseText(const std::string& text, std::string& error,
                                          const Variables& variables) {
    std::vector<YAML::Node> documents;
    try {
        documents = YAML::LoadAll(text);
    } catch (const YAML::Exception& exception) {
        error = "line " + std::to_string(exception.mark.line + 1) + ": " + exception.msg;
        return std::nullopt;
    }
    if (documents.empty() || documents.size() > 2) {
        error = "a flow is a list of commands, optionally after a header and ---";
        return std::nullopt;
    }
    Flow flow;
    Variables all = variables;
    if (documents.size() == 2) {
        const YAML::Node& header = documents[0];
        if (!header.IsMap()) {
            error = at(header) + ": the header before --- must be a map";
            return std::nullopt;
        }
        try {
            if (header["appId"]) {
                flow.appId = header["appId"].as<std::string>();
            }
            if (header["name"]) {
                flow.name = header["name"].as<std::string>();
            }
            if (const YAML::Node env = header["env"]) {
                if (!env.IsMap()) {
                    error = at(env) + ": env must be a map";
                    return std::nullopt;
                }
                for (const auto& entry : env) {
                    std::string value = entry.second.as<std::string>();
                    if (!substitute(value, all, error)) {
                        error = at(entry.second) + ": " + error;
                        return std::nullopt;
                    }
                    // Values given by the caller win over the file's defaults.
                    all.emplace(entry.first.as<std::string>(), value);
                }
            }
        } catch (const YAML::Exception& exception) {
            error = "line " + std::to_string(exception.mark.line + 1) + ": " + exception.msg;
            return std::nullopt;
        }
    }
    const YAML::Node& steps = documents.back();
    if (!steps.IsSequence()) {
        error = "a flow is a list of commands";
        return std::nullopt;
    }
    try {
        for (const auto& item : steps) {
            auto command = parseCommand(item, all, error);
            if (!command) {
                return std::nullopt;
            }
            flow.commands.push_back(std::move(*command));
        }
    } catch (const YAML::Exception& exception) {
        error = "line " + std::to_string(exception.mark.line + 1) + ": " + exception.msg;
        return std::nullopt;
    }
    return flow;
}

std::optional<Flow> FlowParser::parseFile(const std::filesystem::path& path, std::string& error,
                                          const Variables& variables) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        error = "cannot read " + path.string();
        return std::nullopt;
    }
    std::ostringstream text;
    text << in.rdbuf();
    auto flow = parseText(text.str(), error, variables);
    if (!flow) {
        error = path.string() + ": " + error;
        return std::nullopt;
    }
    flow->folder = std::filesystem::absolute(path).parent_path();
    if (flow->name.empty()) {
        flow->name = path.stem().string();
    }
    return flow;
}

}  // namespace zorlet
