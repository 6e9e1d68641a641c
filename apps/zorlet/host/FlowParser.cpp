#include "host/FlowParser.h"

#include <yaml-cpp/eventhandler.h>
#include <yaml-cpp/yaml.h>

#include <charconv>
#include <fstream>
#include <optional>
#include <set>
#include <sstream>

namespace zorlet {

namespace {

// Aliases let a few hundred bytes name billions of values, and variables can repeat
// each other the same way: both are cut off long before memory or time run out.
constexpr int largestPayload = 10000;
constexpr std::size_t longestValue = 65536;
// Each value is bounded, but aliases and variables can repeat a long one in every
// variable and command; what a whole flow expands to is bounded too.
constexpr std::size_t largestFlowText = 4 * 1024 * 1024;
// Error messages quote a bad value only this far.
constexpr std::size_t longestQuote = 40;

enum class ValueType { Text, Bool, Integer, Number, Any };

// yaml-cpp 0.7 loops for ever, allocating as it goes, on some malformed input
// (a ',' where a document's top-level node should start). A YAML text names at
// most a few nodes per byte, so a pass that only counts the parser's events
// stops such a loop early, in constant memory, before the tree is built.
class EventBudget : public YAML::EventHandler {
public:
    struct Exceeded {
        YAML::Mark mark;
    };

    explicit EventBudget(std::size_t textSize) : left_(4 * textSize + 16) {}

    void OnDocumentStart(const YAML::Mark& mark) override { spend(mark); }
    void OnDocumentEnd() override { spend(last_); }
    void OnNull(const YAML::Mark& mark, YAML::anchor_t) override { spend(mark); }
    void OnAlias(const YAML::Mark& mark, YAML::anchor_t) override { spend(mark); }
    void OnScalar(const YAML::Mark& mark, const std::string&, YAML::anchor_t, const std::string&) override {
        spend(mark);
    }
    void OnSequenceStart(const YAML::Mark& mark, const std::string&, YAML::anchor_t,
                         YAML::EmitterStyle::value) override {
        spend(mark);
    }
    void OnSequenceEnd() override { spend(last_); }
    void OnMapStart(const YAML::Mark& mark, const std::string&, YAML::anchor_t,
                    YAML::EmitterStyle::value) override {
        spend(mark);
    }
    void OnMapEnd() override { spend(last_); }

private:
    void spend(const YAML::Mark& mark) {
        last_ = mark;
        if (left_-- == 0) {
            throw Exceeded{mark};
        }
    }

    std::size_t left_;
    YAML::Mark last_;
};

// Whether yaml-cpp can build the text's tree without running away.
Status parsesInBoundedSteps(const std::string& text) {
    std::istringstream in(text);
    YAML::Parser parser(in);
    EventBudget budget(text.size());
    try {
        while (parser.HandleNextDocument(budget)) {
        }
    } catch (const EventBudget::Exceeded& exceeded) {
        return Failure{"line " + std::to_string(exceeded.mark.line + 1) +
                       ": not a YAML text the parser can read"};
    } catch (const YAML::Exception&) {
        // Reported with its place when the tree is built.
    }
    return {};
}

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

// The text with ${NAME} replaced; a failure for a name nobody defined or a result too long.
Result<std::string> substitute(const std::string& text, const FlowParser::Variables& variables) {
    std::string out;
    auto tooLong = [] {
        return Failure{"a value longer than " + std::to_string(longestValue) +
                       " bytes after replacing variables"};
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
            return Failure{"unknown variable ${" + name + "}"};
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
    return out;
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

std::string expandsTooFar() {
    return "the flow expands to more than " + std::to_string(largestFlowText) + " bytes";
}

// A push payload: scalars become numbers or booleans when they read as such.
struct PayloadBudget {
    int values = largestPayload;
    std::size_t& bytesLeft;
};

Result<Json> payload(const YAML::Node& node, const FlowParser::Variables& variables, PayloadBudget& budget) {
    if (--budget.values < 0) {
        return Failure{"the payload has more than " + std::to_string(largestPayload) + " values"};
    }
    if (node.IsMap()) {
        Json object = Json::object();
        for (const auto& entry : node) {
            auto value = payload(entry.second, variables, budget);
            if (!value) {
                return value;
            }
            object[entry.first.as<std::string>()] = std::move(*value);
        }
        return object;
    }
    if (node.IsSequence()) {
        Json array = Json::array();
        for (const auto& element : node) {
            auto value = payload(element, variables, budget);
            if (!value) {
                return value;
            }
            array.push_back(std::move(*value));
        }
        return array;
    }
    if (node.IsNull()) {
        return Json();
    }
    auto text = substitute(node.as<std::string>(), variables);
    if (!text) {
        return Failure{text.error()};
    }
    if (text->size() > budget.bytesLeft) {
        return Failure{expandsTooFar()};
    }
    budget.bytesLeft -= text->size();
    if (node.Tag() != "!") {  // quoted scalars stay text
        for (ValueType type : {ValueType::Integer, ValueType::Number, ValueType::Bool}) {
            if (auto value = typedValue(*text, type)) {
                return std::move(*value);
            }
        }
    }
    return Json(std::move(*text));
}

}  // namespace

bool FlowParser::isKnownCommand(const std::string& name) {
    return rules().count(name) != 0;
}

Result<FlowCommand> FlowParser::parseCommand(const YAML::Node& item, const Variables& variables,
                                             std::size_t& bytesLeft) {
    FlowCommand command;
    command.line = item.Mark().line + 1;
    YAML::Node argument;
    if (item.IsScalar()) {
        command.name = item.as<std::string>();
    } else if (item.IsMap() && item.size() == 1) {
        command.name = item.begin()->first.as<std::string>();
        argument = item.begin()->second;
    } else {
        return Failure{at(item) + ": a step is a command name or a map with one command"};
    }
    auto rule = rules().find(command.name);
    if (rule == rules().end()) {
        return Failure{at(item) + ": unknown command " + command.name};
    }
    const CommandRule& commandRule = rule->second;
    std::string where = at(item) + ": " + command.name;

    if (command.name == "deliverPush") {
        if (argument && !argument.IsNull()) {
            if (!argument.IsMap()) {
                return Failure{where + " takes a map (the notification's payload)"};
            }
            PayloadBudget budget{largestPayload, bytesLeft};
            auto value = payload(argument, variables, budget);
            if (!value) {
                return Failure{where + ": " + value.error()};
            }
            command.arguments["payload"] = std::move(*value);
        }
        return command;
    }

    auto setValue = [&](const std::string& key, const YAML::Node& node) -> Status {
        if (key == "optional") {
            std::string text = node.IsScalar() ? node.as<std::string>() : "";
            auto flag = typedValue(text, ValueType::Bool);
            if (!flag) {
                return Failure{where + ": optional must be true or false"};
            }
            command.optional = flag->get<bool>();
            return {};
        }
        auto known = commandRule.keys.find(key);
        if (known == commandRule.keys.end()) {
            return Failure{where + " has no argument " + key};
        }
        if (!node.IsScalar()) {
            return Failure{where + ": " + key + " must be " + typeName(known->second)};
        }
        auto text = substitute(node.as<std::string>(), variables);
        if (!text) {
            return Failure{where + ": " + text.error()};
        }
        if (text->size() > bytesLeft) {
            return Failure{where + ": " + expandsTooFar()};
        }
        bytesLeft -= text->size();
        auto value = typedValue(*text, known->second);
        if (!value) {
            return Failure{where + ": " + key + " must be " + typeName(known->second) + ", not " +
                           shortQuote(*text)};
        }
        command.arguments[key] = std::move(*value);
        return {};
    };

    if (argument && argument.IsScalar()) {
        if (commandRule.scalarKey.empty()) {
            return Failure{where + " takes no value"};
        }
        if (auto set = setValue(commandRule.scalarKey, argument); !set) {
            return Failure{set.error()};
        }
    } else if (argument && argument.IsMap()) {
        for (const auto& entry : argument) {
            if (auto set = setValue(entry.first.as<std::string>(), entry.second); !set) {
                return Failure{set.error()};
            }
        }
    } else if (argument && !argument.IsNull()) {
        return Failure{where + " takes a value or a map, not a list"};
    }

    for (const std::string& key : commandRule.needsAll) {
        if (!command.arguments.contains(key)) {
            return Failure{where + " needs " + key};
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
            return Failure{where + " needs " + names};
        }
    }
    if (command.name == "swipe" && command.arguments.contains("start") != command.arguments.contains("end")) {
        return Failure{where + " needs both start and end"};
    }
    return command;
}

Result<Flow> FlowParser::parseText(const std::string& text, const Variables& variables) {
    auto yamlFailure = [](const YAML::Exception& exception) {
        return Failure{"line " + std::to_string(exception.mark.line + 1) + ": " + exception.msg};
    };
    if (auto bounded = parsesInBoundedSteps(text); !bounded) {
        return Failure{bounded.error()};
    }
    std::vector<YAML::Node> documents;
    try {
        documents = YAML::LoadAll(text);
    } catch (const YAML::Exception& exception) {
        return yamlFailure(exception);
    }
    if (documents.empty() || documents.size() > 2) {
        return Failure{"a flow is a list of commands, optionally after a header and ---"};
    }
    Flow flow;
    Variables all = variables;
    std::size_t bytesLeft = largestFlowText;
    if (documents.size() == 2) {
        const YAML::Node& header = documents[0];
        if (!header.IsMap()) {
            return Failure{at(header) + ": the header before --- must be a map"};
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
                    return Failure{at(env) + ": env must be a map"};
                }
                for (const auto& entry : env) {
                    auto value = substitute(entry.second.as<std::string>(), all);
                    if (!value) {
                        return Failure{at(entry.second) + ": " + value.error()};
                    }
                    if (value->size() > bytesLeft) {
                        return Failure{at(entry.second) + ": " + expandsTooFar()};
                    }
                    bytesLeft -= value->size();
                    // Values given by the caller win over the file's defaults.
                    all.emplace(entry.first.as<std::string>(), std::move(*value));
                }
            }
        } catch (const YAML::Exception& exception) {
            return yamlFailure(exception);
        }
    }
    const YAML::Node& steps = documents.back();
    if (!steps.IsSequence()) {
        return Failure{"a flow is a list of commands"};
    }
    try {
        for (const auto& item : steps) {
            auto command = parseCommand(item, all, bytesLeft);
            if (!command) {
                return Failure{command.error()};
            }
            flow.commands.push_back(std::move(*command));
        }
    } catch (const YAML::Exception& exception) {
        return yamlFailure(exception);
    }
    return flow;
}

Result<Flow> FlowParser::parseFile(const std::filesystem::path& path, const Variables& variables) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return Failure{"cannot read " + path.string()};
    }
    std::ostringstream text;
    text << in.rdbuf();
    auto flow = parseText(text.str(), variables);
    if (!flow) {
        return Failure{path.string() + ": " + flow.error()};
    }
    flow->folder = std::filesystem::absolute(path).parent_path();
    if (flow->name.empty()) {
        flow->name = path.stem().string();
    }
    return flow;
}

}  // namespace zorlet
