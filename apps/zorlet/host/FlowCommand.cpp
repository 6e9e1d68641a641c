#include "host/FlowCommand.h"

namespace zorlet {

std::string FlowCommand::summary() const {
    std::string text = name;
    if (!arguments.empty()) {
        text += " " + arguments.dump(-1, ' ', false, Json::error_handler_t::replace);
    }
    if (optional) {
        text += " (optional)";
    }
    return text;
}

}  // namespace zorlet
