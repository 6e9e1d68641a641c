#include "host/FlowCommand.h"

namespace zorlet {

namespace {

// A step log line stays a line, whatever text or payload the step carries.
constexpr std::size_t longestArguments = 200;

}  // namespace

std::string FlowCommand::summary() const {
    std::string text = name;
    if (!arguments.empty()) {
        auto dumped = arguments.dump(-1, ' ', false, Json::error_handler_t::replace);
        if (dumped.size() > longestArguments) {
            std::size_t cut = longestArguments;
            while (cut > 0 && (static_cast<unsigned char>(dumped[cut]) & 0xC0) == 0x80) {
                --cut;
            }
            dumped = dumped.substr(0, cut) + "…";
        }
        text += " " + dumped;
    }
    if (optional) {
        text += " (optional)";
    }
    return text;
}

}  // namespace zorlet
