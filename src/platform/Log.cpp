#include "platform/Log.h"

namespace zorlet {

spdlog::logger& log() {
    return *spdlog::default_logger_raw();
}

}  // namespace zorlet
