#pragma once

#include "platform/Json.h"

#include <filesystem>
#include <string>
#include <vector>

namespace zorlet {

// One step of a flow: the command's name and its arguments, normalised by the
// parser into an object (a bare `tapOn: "登录"` becomes {"text": "登录"}).
struct FlowCommand {
    std::string name;
    Json arguments = Json::object();
    bool optional = false;
    int line = 0;

    // "tapOn {"id":"login"}", for step logs.
    std::string summary() const;
};

// A parsed flow file: the header (name, app id) and the steps in order.
struct Flow {
    std::string name;
    std::string appId;
    std::filesystem::path folder;  // relative files (pictures, screenshots) are found here
    std::vector<FlowCommand> commands;
};

}  // namespace zorlet
