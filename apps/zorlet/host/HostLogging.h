#pragma once

#include "platform/Result.h"

#include <filesystem>

namespace zorlet {

// Sends the log to stderr and to Logs/zorlet.log in the client's data folder.
// Headless runs keep stderr to warnings so the steps they print stay readable;
// the file always has everything from info up.
class HostLogging {
public:
    // A failure when the log file cannot be opened; the log goes to stderr all the same.
    static Status install(const std::filesystem::path& dataRoot, bool quietStderr);
    static std::filesystem::path logFile(const std::filesystem::path& dataRoot);
};

}  // namespace zorlet
