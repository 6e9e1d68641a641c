#pragma once

#include <filesystem>
#include <string>

namespace zorlet {

// Sends the log to stderr and to Logs/zorlet.log in the client's data folder.
// Headless runs keep stderr to warnings so the steps they print stay readable;
// the file always has everything from info up.
class HostLogging {
public:
    // False, with `error`, when the log file cannot be opened (stderr still works).
    static bool install(const std::filesystem::path& dataRoot, bool quietStderr, std::string& error);
    static std::filesystem::path logFile(const std::filesystem::path& dataRoot);
};

}  // namespace zorlet
