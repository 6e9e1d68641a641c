// Any flow file text: the parser must accept or refuse it without crashing,
// in bounded time and memory (aliases and substitutions are capped), and a
// flow it accepts holds only commands it knows, each printable for the log.
#include "host/FlowParser.h"

#include <cstddef>
#include <cstdint>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string text(reinterpret_cast<const char*>(data), size);
    const zorlet::FlowParser::Variables variables{{"DEMO_EMAIL", "demo@zorlet.local"},
                                                  {"DEMO_PASSWORD", "zorlet123"}};
    auto flow = zorlet::FlowParser::parseText(text, variables);
    if (!flow) {
        if (flow.error().empty()) {
            __builtin_trap();  // a refusal must say why
        }
        return 0;
    }
    for (const auto& command : flow->commands) {
        if (!zorlet::FlowParser::isKnownCommand(command.name)) {
            __builtin_trap();
        }
        (void)command.summary();
    }
    return 0;
}
