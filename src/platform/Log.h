#pragma once

#include <spdlog/spdlog.h>

namespace zorlet {

// "Written to the log" means this logger.
spdlog::logger& log();

}  // namespace zorlet
