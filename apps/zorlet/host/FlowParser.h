#pragma once

#include "host/FlowCommand.h"
#include "platform/Result.h"

#include <cstddef>
#include <filesystem>
#include <map>
#include <string>

namespace YAML {
class Node;
}

namespace zorlet {

// Reads flow files written with the conventions of Maestro: an optional header
// document (`appId`, `name`, `env`), `---`, then a list of commands, each a bare
// name (`- back`) or a one-key map (`- tapOn: {id: login}`). `${NAME}` in any
// value is replaced from the header's `env` or the variables the caller gives.
// Every command and argument is checked here, so a typo fails before the app starts.
class FlowParser {
public:
    using Variables = std::map<std::string, std::string>;

    // A failure says what is wrong, and on which line when it is one line's fault.
    static Result<Flow> parseFile(const std::filesystem::path& path, const Variables& variables = {});
    static Result<Flow> parseText(const std::string& text, const Variables& variables = {});

    static bool isKnownCommand(const std::string& name);

private:
    // `bytesLeft` is what the rest of the flow may still expand to; the command's values are taken from it.
    static Result<FlowCommand> parseCommand(const YAML::Node& item, const Variables& variables,
                                            std::size_t& bytesLeft);
};

}  // namespace zorlet
