// zorlet-sandbox: the local Zorlet service as a program.
//
//   zorlet-sandbox --db FILE [--port N] [--seed demo] [--data DIR] [--resources DIR] [--test-control]
//   zorlet-sandbox --help

#include "sandbox/DemoSeed.h"
#include "sandbox/SandboxServer.h"
#include "sandbox/handlers/AdminHandlers.h"

#include <CLI/CLI.hpp>

#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <string>

#include <unistd.h>

#include <cerrno>

namespace {

int stopPipe[2] = {-1, -1};

// Only async-signal-safe work here: wake the main thread.
void requestStop(int) {
    char byte = 1;
    [[maybe_unused]] auto written = write(stopPipe[1], &byte, 1);
}

// The command line, each option bound to its place in `options`.
void describe(CLI::App& app, zorlet::sandbox::SandboxOptions& options, std::string& seed) {
    app.name("zorlet-sandbox");
    app.description("The local Zorlet service on 127.0.0.1.");
    app.add_option("--db", options.databasePath, "SQLite database (created when missing)")
        ->type_name("FILE")
        ->required();
    app.add_option("--port", options.port, "port on 127.0.0.1 (0 = any free port)")
        ->type_name("N")
        ->capture_default_str()
        ->check(CLI::Range(0, 65535));
    app.add_option("--seed", seed, "plant the demo users and posts into an empty database")
        ->type_name("demo")
        ->check(CLI::IsMember({"demo", "none"}));
    app.add_option("--data", options.dataFolder,
                   "folder for uploaded pictures (default: next to the database)")
        ->type_name("DIR");
    app.add_option("--resources", options.resourcesFolder, "folder of the reference lists")->type_name("DIR");
    app.add_flag(
        "--test-control", options.testControl,
        "serve the test control under /__sandbox/ (POST, with the header X-Sandbox-Secret: the secret "
        "printed at start, or the value of ZORLET_SANDBOX_SECRET when set, at least 16 characters)");
}

}  // namespace

int main(int argc, char** argv) {
    using zorlet::sandbox::SandboxOptions;
    SandboxOptions options;
    options.port = 8080;
    std::string seed;
    CLI::App app;
    describe(app, options, seed);
    try {
        app.parse(argc, argv);
    } catch (const CLI::ParseError& refused) {
        // --help prints the options and exits 0; a bad command line says why and exits 2.
        int status = app.exit(refused);
        return status == 0 ? 0 : 2;
    }
    options.seedDemo = seed == "demo";
    if (options.testControl) {
        // From the environment, not the command line, which every user of the machine can read.
        if (const char* secret = std::getenv("ZORLET_SANDBOX_SECRET")) {
            options.testControlSecret = secret;
        }
    }

    // Stop cleanly on Ctrl-C or SIGTERM, whichever thread the signal lands on.
    if (pipe(stopPipe) != 0) {
        std::perror("zorlet-sandbox: pipe");
        return 1;
    }
    std::signal(SIGINT, requestStop);
    std::signal(SIGTERM, requestStop);

    auto started = std::chrono::steady_clock::now();
    auto serving = zorlet::sandbox::SandboxServer::start(options);
    if (!serving) {
        std::fprintf(stderr, "zorlet-sandbox: %s\n", serving.error().c_str());
        return 1;
    }
    auto server = std::move(*serving);
    auto elapsed =
        std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - started).count();
    std::printf("zorlet-sandbox: serving %s (ready in %.0f ms)\n", server->baseUrl().c_str(), elapsed);
    if (options.seedDemo) {
        std::printf("zorlet-sandbox: demo account %s, password %s\n", zorlet::sandbox::DemoSeed::demoAccount,
                    zorlet::sandbox::DemoSeed::demoPassword);
    }
    if (options.testControl) {
        std::printf("zorlet-sandbox: test control on /__sandbox/, send the header %s: %s\n",
                    zorlet::sandbox::AdminHandlers::secretHeader, server->testControlSecret().c_str());
    }
    std::fflush(stdout);

    char byte = 0;
    while (read(stopPipe[0], &byte, 1) < 0 && errno == EINTR) {
    }
    std::printf("zorlet-sandbox: stopping\n");
    server->stop();
    return 0;
}
