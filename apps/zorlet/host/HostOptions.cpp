#include "host/HostOptions.h"

#include "platform/DataFolder.h"

#include <CLI/CLI.hpp>

#include <algorithm>
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

// The command line: each option bound to where its value goes. A repeated
// option keeps its last value, as before; --location is checked after parsing.
void describe(CLI::App& app, HostOptions& options, std::string& location) {
    app.name("zorlet");
    app.description("The Zorlet client: a window, a headless flow or a tour of every screen.");
    app.set_help_flag();
    // Every option with a value keeps the last one given.
    auto value = [&app](const char* name, auto& target, const char* typeName, const char* help) {
        app.add_option(name, target, help)
            ->type_name(typeName)
            ->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);
    };
    app.add_flag("-h,--help", options.help, "show this help");
    app.add_flag("--sandbox", options.sandbox,
                 "start the embedded sandbox service (demo data on first start)");
    value("--sandbox-data", options.sandboxFolder, "DIR", "the sandbox's own data folder");
    value("--api", options.apiUrl, "URL", "run against any server speaking the API");
    value("--data", options.dataFolder, "DIR", "the client's data folder");
    value("--flow", options.flowFile, "FILE.yaml", "run a flow headlessly; exit status 1 when a step fails");
    value("--screenshots", options.screenshotFolder, "DIR",
          "where a flow's takeScreenshot writes (default: the working folder)");
    value("--tour", options.tourFolder, "DIR", "visit every screen, write a PNG per screen and index.html");
    app.add_flag("--window")->description("open the window (needs a display)");
    value("--location", location, "LAT,LON", "the device's position in degrees");
    app.add_flag_callback(
        "--no-sms", [&options] { options.canSendText = false; }, "a device that cannot send text messages");
    app.add_flag_callback(
        "--no-mail", [&options] { options.canSendMail = false; }, "a device with no mail account");
}

}  // namespace

std::filesystem::path HostOptions::defaultTourFolder() {
    return std::filesystem::current_path() / "zorlet-tour";
}

std::filesystem::path HostOptions::defaultSandboxFolder() {
    return DataFolder::defaultRoot().parent_path() / "zorlet-sandbox";
}

std::string HostOptions::usage() {
    HostOptions options;
    std::string location;
    CLI::App app;
    describe(app, options, location);
    return app.help();
}

Result<HostOptions> HostOptions::parse(int argc, const char* const* argv) {
    HostOptions options;
    std::string location;
    CLI::App app;
    describe(app, options, location);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ExtrasError&) {
        return Failure{"unknown option " + app.remaining().front()};
    } catch (const CLI::ArgumentMismatch& mismatch) {
        // "--flow: 1 required FILE.yaml missing": the option is named first.
        std::string what = mismatch.what();
        return Failure{what.substr(0, what.find(':')) + " needs a value"};
    } catch (const CLI::ParseError& refused) {
        return Failure{refused.what()};
    }
    // An empty value is no value.
    for (const char* name :
         {"--api", "--data", "--sandbox-data", "--flow", "--tour", "--location", "--screenshots"}) {
        const auto& given = app.get_option(name)->results();
        if (std::any_of(given.begin(), given.end(), [](const std::string& value) { return value.empty(); })) {
            return Failure{std::string(name) + " needs a value"};
        }
    }
    if (!options.apiUrl.empty() && options.apiUrl.rfind("http://", 0) != 0 &&
        options.apiUrl.rfind("https://", 0) != 0) {
        return Failure{"--api needs an http:// or https:// URL, not " + options.apiUrl};
    }
    if (app.count("--location") > 0) {
        double latitude = 0;
        double longitude = 0;
        if (!parseLocation(location, latitude, longitude)) {
            return Failure{"--location needs LAT,LON in degrees, not " + location};
        }
        options.latitude = latitude;
        options.longitude = longitude;
    }
    if (options.help) {
        return options;
    }
    std::size_t modes = app.count("--flow") + app.count("--tour") + app.count("--window");
    if (modes > 1) {
        return Failure{"choose one of --flow, --tour and --window"};
    }
    if (app.count("--flow") > 0) {
        options.mode = Mode::Flow;
    } else if (app.count("--tour") > 0) {
        options.mode = Mode::Tour;
    } else if (app.count("--window") > 0) {
        options.mode = Mode::Window;
    }
    if (options.sandbox && !options.apiUrl.empty()) {
        return Failure{"--sandbox and --api exclude each other"};
    }
    if (!options.sandbox && options.apiUrl.empty()) {
        return Failure{"say which server: --sandbox or --api URL"};
    }
    if (!options.sandboxFolder.empty() && !options.sandbox) {
        return Failure{"--sandbox-data needs --sandbox"};
    }
    return options;
}

}  // namespace zorlet
