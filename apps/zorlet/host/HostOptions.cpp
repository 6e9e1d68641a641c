#include "host/HostOptions.h"

#include "platform/DataFolder.h"

#include <charconv>
#include <cstdlib>

namespace zorlet {

namespace {

bool parseNumber(const std::string& text, double& value) {
    const char* begin = text.data();
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(begin, end, value);
    return ec == std::errc() && ptr == end;
}

// "LAT,LON" within the ranges a position can have.
bool parseLocation(const std::string& text, double& latitude, double& longitude) {
    auto comma = text.find(',');
    if (comma == std::string::npos) {
        return false;
    }
    if (!parseNumber(text.substr(0, comma), latitude) || !parseNumber(text.substr(comma + 1), longitude)) {
        return false;
    }
    return latitude >= -90 && latitude <= 90 && longitude >= -180 && longitude <= 180;
}

}  // namespace

std::string HostOptions::usage() {
    return "usage: zorlet [--sandbox | --api URL] [--data DIR] [--flow FILE.yaml | --tour DIR | --window]\n"
           "  --sandbox            start the embedded sandbox service (demo data on first start)\n"
           "  --sandbox-data DIR   the sandbox's own data folder\n"
           "  --api URL            run against any server speaking the API\n"
           "  --data DIR           the client's data folder\n"
           "  --flow FILE.yaml     run a flow headlessly; exit status 1 when a step fails\n"
           "  --screenshots DIR    where a flow's takeScreenshot writes (default: the working folder)\n"
           "  --tour DIR           visit every screen, write a PNG per screen and index.html\n"
           "  --window             open the window (needs a display)\n"
           "  --location LAT,LON   the device's position\n"
           "  --no-sms, --no-mail  a device that cannot send text messages, or has no mail account\n";
}

std::filesystem::path HostOptions::defaultTourFolder() {
    return std::filesystem::current_path() / "zorlet-tour";
}

std::filesystem::path HostOptions::defaultSandboxFolder() {
    return DataFolder::defaultRoot().parent_path() / "zorlet-sandbox";
}

std::optional<HostOptions> HostOptions::parse(int argc, const char* const* argv, std::string& error) {
    HostOptions options;
    int modes = 0;
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        std::string value;
        auto takeValue = [&]() {
            if (i + 1 >= argc || std::string(argv[i + 1]).empty()) {
                error = argument + " needs a value";
                return false;
            }
            value = argv[++i];
            return true;
        };
        if (argument == "--help" || argument == "-h") {
            options.help = true;
        } else if (argument == "--sandbox") {
            options.sandbox = true;
        } else if (argument == "--no-sms") {
            options.canSendText = false;
        } else if (argument == "--no-mail") {
            options.canSendMail = false;
        } else if (argument == "--window") {
            options.mode = Mode::Window;
            ++modes;
        } else if (argument == "--api" || argument == "--data" || argument == "--sandbox-data" ||
                   argument == "--flow" || argument == "--tour" || argument == "--location" ||
                   argument == "--screenshots") {
            if (!takeValue()) {
                return std::nullopt;
            }
            if (argument == "--api") {
                if (value.rfind("http://", 0) != 0 && value.rfind("https://", 0) != 0) {
                    error = "--api needs an http:// or https:// URL, not " + value;
                    return std::nullopt;
                }
                options.apiUrl = value;
            } else if (argument == "--data") {
                options.dataFolder = value;
            } else if (argument == "--sandbox-data") {
                options.sandboxFolder = value;
            } else if (argument == "--flow") {
                options.flowFile = value;
                options.mode = Mode::Flow;
                ++modes;
            } else if (argument == "--tour") {
                options.tourFolder = value;
                options.mode = Mode::Tour;
                ++modes;
            } else if (argument == "--screenshots") {
                options.screenshotFolder = value;
            } else {
                double latitude = 0;
                double longitude = 0;
                if (!parseLocation(value, latitude, longitude)) {
                    error = "--location needs LAT,LON in degrees, not " + value;
                    return std::nullopt;
                }
                options.latitude = latitude;
                options.longitude = longitude;
            }
        } else {
            error = "unknown option " + argument;
            return std::nullopt;
        }
    }
    if (options.help) {
        return options;
    }
    if (modes > 1) {
        error = "choose one of --flow, --tour and --window";
        return std::nullopt;
    }
    if (options.sandbox && !options.apiUrl.empty()) {
        error = "--sandbox and --api exclude each other";
        return std::nullopt;
    }
    if (!options.sandbox && options.apiUrl.empty()) {
        error = "say which server: --sandbox or --api URL";
        return std::nullopt;
    }
    if (!options.sandboxFolder.empty() && !options.sandbox) {
        error = "--sandbox-data needs --sandbox";
        return std::nullopt;
    }
    return options;
}

}  // namespace zorlet
