#pragma once

#include "platform/Result.h"

#include <filesystem>
#include <optional>
#include <string>

namespace zorlet {

// What the command line asks of the client host.
struct HostOptions {
    enum class Mode {
        Automatic,  // a window when a display exists, otherwise the tour
        Window,
        Flow,
        Tour,
    };

    Mode mode = Mode::Automatic;
    bool sandbox = false;
    std::string apiUrl;
    std::filesystem::path dataFolder;     // empty: the platform's default
    std::filesystem::path sandboxFolder;  // empty: next to the default data folder
    std::filesystem::path flowFile;
    std::filesystem::path tourFolder;
    std::filesystem::path screenshotFolder;  // empty: the working folder
    std::optional<double> latitude;
    std::optional<double> longitude;
    bool help = false;
    // A device that cannot send text messages or has no mail account (the composers are refused).
    bool canSendText = true;
    bool canSendMail = true;

    // A failure saying why for a command line that makes no sense.
    static Result<HostOptions> parse(int argc, const char* const* argv);
    static std::string usage();

    // The tour's folder when none was named: "zorlet-tour" in the working folder.
    static std::filesystem::path defaultTourFolder();
    // The sandbox's own data when none was named, beside the client's default data.
    static std::filesystem::path defaultSandboxFolder();
};

}  // namespace zorlet
