#pragma once

#include "host/FlowCommand.h"

#include <filesystem>
#include <map>
#include <optional>
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

    static std::optional<Flow> parseFile(const std::filesystem::path& path, std::string& error,
                                         const Variables& variables = {});
    static std::optional<Flow> parseText(const std::string& text, std::string& error,
                                         const Variables& variables = {});

    static bool isKnownCommand(const std::string& name);

private:
    static std::optional<FlowCommand> parseCommand(const YAML::Node& item, const Variables& variables,
                                                   std::string& error);
};

}  // namespace zorlet
