#include "host/HostLogging.h"

#include <spdlog/sinks/basic_file_sink.h>
#include <spdlog/sinks/stdout_color_sinks.h>
#include <spdlog/spdlog.h>

#include <memory>
#include <vector>

namespace zorlet {

std::filesystem::path HostLogging::logFile(const std::filesystem::path& dataRoot) {
    return dataRoot / "Logs" / "zorlet.log";
}

Status HostLogging::install(const std::filesystem::path& dataRoot, bool quietStderr) {
    std::vector<spdlog::sink_ptr> sinks;
    auto console = std::make_shared<spdlog::sinks::stderr_color_sink_mt>();
    console->set_level(quietStderr ? spdlog::level::warn : spdlog::level::info);
    sinks.push_back(console);
    Status file;
    try {
        sinks.push_back(std::make_shared<spdlog::sinks::basic_file_sink_mt>(logFile(dataRoot).string()));
    } catch (const spdlog::spdlog_ex& exception) {
        file = Failure{exception.what()};
    }
    auto logger = std::make_shared<spdlog::logger>("zorlet", sinks.begin(), sinks.end());
    logger->set_level(spdlog::level::info);
    logger->flush_on(spdlog::level::warn);
    spdlog::set_default_logger(logger);
    return file;
}

}  // namespace zorlet
