// zorlet: the Zorlet client on the desktop.
//
//   zorlet --sandbox                      window (or, without a display, the tour)
//   zorlet --sandbox --flow FILE.yaml     run a flow headlessly
//   zorlet --sandbox --tour DIR           a picture of every screen and DIR/index.html
//   zorlet --api URL [--data DIR]         against any server speaking the API

#include "host/AppHost.h"
#include "host/EmbeddedSandbox.h"
#include "host/HeadlessDriver.h"
#include "host/HostLogging.h"
#include "host/HostOptions.h"
#include "host/SdlWindowHost.h"
#include "host/TourRunner.h"
#include "net/UrlUtils.h"
#include "platform/DataFolder.h"
#include "platform/Log.h"
#include "platform/MainLoop.h"
#include "platform/UserDefaults.h"
#include "ui/MailComposeViewController.h"
#include "ui/MessageComposeViewController.h"
#include "ui/UserLocationSource.h"

#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <memory>
#include <string>

namespace {

using namespace zorlet;

// Headless runs start from a clean app, so they get a folder of their own
// unless --data names one: a flow's clearState must not wipe the user's data.
std::filesystem::path headlessDataFolder() {
    std::string pattern = (std::filesystem::temp_directory_path() / "zorlet-headless-XXXXXX").string();
    if (::mkdtemp(pattern.data()) == nullptr) {
        return DataFolder::defaultRoot();
    }
    return pattern;
}

int runTour(AppHost& app, const std::filesystem::path& folder, const FlowParser::Variables& variables) {
    MainLoop::main().clock().setVirtual(true);
    TourRunner tour(app, std::cout, variables);
    if (auto toured = tour.run(folder); !toured) {
        std::fprintf(stderr, "zorlet: tour: %s\n", toured.error().c_str());
        return 1;
    }
    std::printf("zorlet: open %s to see %zu screens\n",
                std::filesystem::absolute(folder / "index.html").c_str(), tour.stops().size());
    return 0;
}

}  // namespace

// Sanitizer builds: Fontconfig and Pango keep caches for the life of the
// process, which the leak checker would otherwise report at exit.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\nleak:libpango\nleak:libharfbuzz\nleak:libSDL2\nleak:libX11\nleak:libxcb\n"
           "leak:libdbus\n";
}

int main(int argc, char** argv) {
    auto options = HostOptions::parse(argc, argv);
    if (!options) {
        std::fprintf(stderr, "zorlet: %s\n%s", options.error().c_str(), HostOptions::usage().c_str());
        return 2;
    }
    if (options->help) {
        std::printf("%s", HostOptions::usage().c_str());
        return 0;
    }

    bool headless = options->mode == HostOptions::Mode::Flow || options->mode == HostOptions::Mode::Tour;
    bool windowed = options->mode == HostOptions::Mode::Window ||
                    (options->mode == HostOptions::Mode::Automatic && SdlWindowHost::displayAvailable());
    std::filesystem::path tourFolder = options->tourFolder;
    if (options->mode == HostOptions::Mode::Automatic && !windowed) {
        headless = true;
        tourFolder = HostOptions::defaultTourFolder();
        std::printf("zorlet: no display, so no window; touring every screen into %s instead\n",
                    tourFolder.c_str());
    }

    std::filesystem::path dataFolder = options->dataFolder;
    if (dataFolder.empty()) {
        dataFolder = headless ? headlessDataFolder() : DataFolder::defaultRoot();
    }
    DataFolder::shared().setRoot(dataFolder);
    UserDefaults::standard().reload(DataFolder::shared().file("Preferences/defaults.json"));
    if (auto logging = HostLogging::install(dataFolder, headless); !logging) {
        std::fprintf(stderr, "zorlet: no log file: %s\n", logging.error().c_str());
    }
    log().info("client data in {}", dataFolder.string());
    MainLoop::main();

    FlowParser::Variables variables;
    std::unique_ptr<EmbeddedSandbox> sandbox;
    if (options->sandbox) {
        std::filesystem::path folder =
            options->sandboxFolder.empty() ? HostOptions::defaultSandboxFolder() : options->sandboxFolder;
        auto started = EmbeddedSandbox::start(folder);
        if (!started) {
            std::fprintf(stderr, "zorlet: the sandbox did not start: %s\n", started.error().c_str());
            return 1;
        }
        sandbox = std::move(*started);
        UrlUtils::setBaseUrl(sandbox->baseUrl());
        variables["DEMO_EMAIL"] = EmbeddedSandbox::demoAccount();
        variables["DEMO_PASSWORD"] = EmbeddedSandbox::demoPassword();
        std::printf("zorlet: sandbox at %s; demo account %s, password %s\n", sandbox->baseUrl().c_str(),
                    EmbeddedSandbox::demoAccount(), EmbeddedSandbox::demoPassword());
    } else {
        UrlUtils::setBaseUrl(options->apiUrl);
    }
    MessageComposeViewController::setCanSendText(options->canSendText);
    MailComposeViewController::setCanSendMail(options->canSendMail);
    if (options->latitude && options->longitude) {
        UserLocationSource::shared().setLocation({*options->latitude, *options->longitude});
    }

    int status = 0;
    if (options->mode == HostOptions::Mode::Flow) {
        HeadlessDriver driver(std::cout);
        driver.setVariables(variables);
        driver.setScreenshotFolder(options->screenshotFolder);
        status = driver.runFlowFile(options->flowFile);
    } else if (headless) {
        AppHost app;
        status = runTour(app, tourFolder, variables);
    } else {
        AppHost app;
        SdlWindowHost host(app);
        if (auto opened = host.open(); !opened) {
            std::fprintf(stderr, "zorlet: %s\n", opened.error().c_str());
            return 1;
        }
        app.launch(false);
        std::printf(
            "zorlet: click to tap, drag to scroll or pull, type into the focused field, Escape goes back\n");
        std::fflush(stdout);
        status = host.run();
    }
    MainLoop::main().finishBackgroundWork();
    spdlog::default_logger()->flush();
    return status;
}
