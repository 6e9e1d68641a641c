#include "host/FlowParser.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <fstream>

namespace zorlet::test {
namespace {

Flow parseOk(const std::string& text, const FlowParser::Variables& variables = {}) {
    auto flow = FlowParser::parseText(text, variables);
    EXPECT_TRUE(flow) << flow.error();
    return flow ? *flow : Flow{};
}

std::string parseError(const std::string& text, const FlowParser::Variables& variables = {}) {
    auto flow = FlowParser::parseText(text, variables);
    EXPECT_FALSE(flow) << text;
    return flow.error();
}

TEST(FlowParserTest, MaestroStepsAreNormalised) {
    Flow flow = parseOk(R"(appId: zorlet
name: sample
---
- launchApp
- launchApp: {clearState: true}
- tapOn: 登  录
- tapOn:
    id: goLogin
- tapOn: {point: "50%,50%", optional: true}
- inputText: "你好 world"
- eraseText: 3
- assertVisible: {id: nameField}
- back
- swipe: {direction: DOWN}
- advanceClock: 30.5
- setNetwork: off
- setLocation: {latitude: 39.9, longitude: 116.4}
- deliverPush
- answerAlert: 确定
- takeScreenshot: shots/one
)");
    EXPECT_EQ(flow.appId, "zorlet");
    EXPECT_EQ(flow.name, "sample");
    ASSERT_EQ(flow.commands.size(), 16u);
    EXPECT_EQ(flow.commands[0].name, "launchApp");
    EXPECT_TRUE(flow.commands[0].arguments.empty());
    EXPECT_EQ(flow.commands[0].line, 4);
    EXPECT_EQ(flow.commands[1].arguments["clearState"], true);
    EXPECT_EQ(flow.commands[2].arguments["text"], "登  录");
    EXPECT_EQ(flow.commands[3].arguments["id"], "goLogin");
    EXPECT_TRUE(flow.commands[4].optional);
    EXPECT_FALSE(flow.commands[4].arguments.contains("optional"));
    EXPECT_EQ(flow.commands[5].arguments["text"], "你好 world");
    EXPECT_EQ(flow.commands[6].arguments["charactersToErase"], 3);
    EXPECT_EQ(flow.commands[10].arguments["seconds"], 30.5);
    EXPECT_EQ(flow.commands[11].arguments["on"], false);
    EXPECT_EQ(flow.commands[12].arguments["latitude"], 39.9);
    EXPECT_EQ(flow.commands[14].arguments["button"], "确定");
    EXPECT_EQ(flow.commands[15].summary(), R"(takeScreenshot {"path":"shots/one"})");
}

TEST(FlowParserTest, VariablesComeFromTheHeaderAndTheCaller) {
    Flow flow = parseOk(R"(env:
  USER: ${DEMO}
  PASSWORD: fromFile
---
- inputText: ${USER}/${PASSWORD}
)",
                        {{"DEMO", "demo@zorlet.local"}, {"PASSWORD", "fromCaller"}});
    ASSERT_EQ(flow.commands.size(), 1u);
    EXPECT_EQ(flow.commands[0].arguments["text"], "demo@zorlet.local/fromCaller");

    EXPECT_NE(parseError("- inputText: ${NOBODY}\n").find("unknown variable ${NOBODY}"), std::string::npos);
}

TEST(FlowParserTest, PushPayloadsKeepTheirTypes) {
    Flow flow = parseOk(R"(- deliverPush:
    aps: {alert: 新消息, badge: 3, sound: default}
    uid: "42"
    urgent: true
)");
    const Json& payload = flow.commands[0].arguments["payload"];
    EXPECT_EQ(payload["aps"]["alert"], "新消息");
    EXPECT_EQ(payload["aps"]["badge"], 3);
    EXPECT_EQ(payload["uid"], "42");  // quoted: stays text
    EXPECT_EQ(payload["urgent"], true);
}

TEST(FlowParserTest, MistakesAreReportedWithTheirLine) {
    EXPECT_EQ(parseError("- launchApp\n- tapOnn: x\n"), "line 2: unknown command tapOnn");
    EXPECT_EQ(parseError("- tapOn: {index: 2}\n"), "line 1: tapOn needs text or id or point");
    EXPECT_EQ(parseError("- advanceClock: soon\n"),
              "line 1: advanceClock: seconds must be a number, not \"soon\"");
    EXPECT_EQ(parseError("- setNetwork: maybe\n"),
              "line 1: setNetwork: on must be true or false, not \"maybe\"");
    EXPECT_EQ(parseError("- back: now\n"), "line 1: back takes no value");
    EXPECT_EQ(parseError("- tapOn: {text: a, colour: red}\n"), "line 1: tapOn has no argument colour");
    EXPECT_EQ(parseError("- swipe: {start: \"1,1\"}\n"), "line 1: swipe needs both start and end");
    EXPECT_EQ(parseError("- setLocation: {latitude: 1}\n"), "line 1: setLocation needs longitude");
    EXPECT_EQ(parseError("- tapOn: [a, b]\n"), "line 1: tapOn takes a value or a map, not a list");
    EXPECT_EQ(parseError("- {tapOn: a, back: x}\n"),
              "line 1: a step is a command name or a map with one command");
    EXPECT_NE(parseError("- tapOn: {text: a\n").find("line"), std::string::npos);
    EXPECT_EQ(parseError("tapOn: a\n"), "a flow is a list of commands");
}

// Aliases that multiply: nine levels of nine references, 430 bytes naming 9^8 values.
std::string aliasBomb() {
    std::string text = "- deliverPush:\n    a: &a [x, x, x, x, x, x, x, x, x]\n";
    char previous = 'a';
    for (char name = 'b'; name <= 'h'; ++name) {
        text += std::string("    ") + name + ": &" + name + " [";
        for (int i = 0; i < 9; ++i) {
            text += std::string(i ? ", " : "") + "*" + previous;
        }
        text += "]\n";
        previous = name;
    }
    return text;
}

TEST(FlowParserTest, ExpandingInputIsRefusedQuicklyWithAClearError) {
    auto bomb = aliasBomb();
    EXPECT_LT(bomb.size(), 440u);
    auto started = std::chrono::steady_clock::now();
    auto error = parseError(bomb);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(1));
    EXPECT_EQ(error, "line 1: deliverPush: the payload has more than 10000 values");

    // The same through variables: each level repeats the one before ten times.
    std::string env = "env:\n  A: xxxxxxxxxx\n";
    for (char name = 'B'; name <= 'J'; ++name) {
        env += std::string("  ") + name + ": ";
        for (int i = 0; i < 10; ++i) {
            env += std::string("${") + static_cast<char>(name - 1) + "}";
        }
        env += "\n";
    }
    started = std::chrono::steady_clock::now();
    error = parseError(env + "---\n- inputText: ${J}\n");
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(1));
    EXPECT_EQ(error, "line 6: a value longer than 65536 bytes after replacing variables");

    // Every value within its bound, repeated in command after command: the whole flow is bounded.
    std::string wide = "env:\n  A: " + std::string(60000, 'x') + "\n---\n";
    for (int i = 0; i < 100; ++i) {
        wide += "- inputText: ${A}\n";
    }
    started = std::chrono::steady_clock::now();
    error = parseError(wide);
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(1));
    EXPECT_NE(error.find("the flow expands to more than 4194304 bytes"), std::string::npos) << error;
    // And one push payload of long values.
    std::string push =
        "env:\n  A: " + std::string(60000, 'x') + "\n---\n- deliverPush:\n    v: &v ${A}\n    l: [";
    for (int i = 0; i < 100; ++i) {
        push += std::string(i ? ", " : "") + "*v";
    }
    push += "]\n";
    error = parseError(push);
    EXPECT_NE(error.find("the flow expands to more than 4194304 bytes"), std::string::npos) << error;
    // And variables that each repeat a long one: the header alone is bounded.
    std::string header = "env:\n  A: " + std::string(60000, 'x') + "\n";
    for (int i = 0; i < 100; ++i) {
        header += "  V" + std::to_string(i) + ": ${A}\n";
    }
    started = std::chrono::steady_clock::now();
    error = parseError(header + "---\n- back\n");
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(1));
    EXPECT_NE(error.find("the flow expands to more than 4194304 bytes"), std::string::npos) << error;

    // Messages quote a bad value only in part.
    error = parseError("- eraseText: " + std::string(1000, '7') + "x\n");
    EXPECT_LT(error.size(), 200u);
    EXPECT_NE(error.find("must be a whole number, not \"777"), std::string::npos) << error;
    EXPECT_NE(error.find("…\""), std::string::npos) << error;

    // A payload of ordinary size still passes, aliases and all.
    auto flow = parseOk("- deliverPush:\n    a: &a [1, 2, 3]\n    b: [*a, *a]\n");
    EXPECT_EQ(flow.commands[0].arguments["payload"]["b"][1][2], 3);
}

// A stray ',' where a top-level node should start sends the YAML library into
// an endless, allocating loop; the flow is refused in bounded time instead.
TEST(FlowParserTest, TextTheYamlLibraryCannotFinishIsRefused) {
    for (const std::string text :
         {",\n", "- launchApp\n,\n", "- tapOn: {id: pwdField}\n, back\n", "---\n,\n"}) {
        auto started = std::chrono::steady_clock::now();
        auto error = parseError(text);
        EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::seconds(1)) << text;
        EXPECT_NE(error.find("not a YAML text the parser can read"), std::string::npos) << text << error;
    }
    // Commas where YAML allows them are untouched.
    auto flow = parseOk("- tapOn: {id: pwdField\n  , index: 1}\n- inputText: \"a\n  ,b\"\n");
    ASSERT_EQ(flow.commands.size(), 2u);
    EXPECT_EQ(flow.commands[1].arguments["text"], "a ,b");
}

TEST(FlowParserTest, FilesKnowTheirFolderAndName) {
    auto folder = std::filesystem::temp_directory_path() / "zorlet-flow-parser-test";
    std::filesystem::create_directories(folder);
    { std::ofstream(folder / "walk.yaml") << "- launchApp\n- pickImage: photo.jpg\n"; }
    auto flow = FlowParser::parseFile(folder / "walk.yaml");
    ASSERT_TRUE(flow) << flow.error();
    EXPECT_EQ(flow->name, "walk");
    EXPECT_EQ(flow->folder, std::filesystem::absolute(folder));
    auto missing = FlowParser::parseFile(folder / "missing.yaml");
    EXPECT_FALSE(missing);
    EXPECT_NE(missing.error().find("cannot read"), std::string::npos);
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace zorlet::test
