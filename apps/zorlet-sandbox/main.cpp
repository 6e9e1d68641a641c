// zorlet-sandbox: the local Zorlet service as a program.
//
//   zorlet-sandbox --db FILE [--port N] [--seed demo] [--data DIR] [--resources DIR] [--test-control]

#include "sandbox/DemoSeed.h"
#include "sandbox/SandboxServer.h"
#include "sandbox/handlers/AdminHandlers.h"

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

void usage() {
    std::fprintf(stderr,
                 "usage: zorlet-sandbox --db FILE [--port N] [--seed demo] [--data DIR] [--resources DIR]\n"
                 "                      [--test-control]\n"
                 "  --db FILE         SQLite database (created when missing)\n"
                 "  --port N          port on 127.0.0.1 (default 8080, 0 = any free port)\n"
                 "  --seed demo       plant the demo users and posts into an empty database\n"
                 "  --data DIR        folder for uploaded pictures (default: next to the database)\n"
                 "  --resources DIR   folder of the reference lists\n"
                 "  --test-control    serve the test control under /__sandbox/ (POST, with the header\n"
                 "                    X-Sandbox-Secret: the secret printed at start, or the value of\n"
                 "                    ZORLET_SANDBOX_SECRET when set, at least 16 characters)\n");
}

}  // namespace

int main(int argc, char** argv) {
    using zorlet::sandbox::SandboxOptions;
    SandboxOptions options;
    options.port = 8080;
    for (int i = 1; i < argc; ++i) {
        std::string argument = argv[i];
        auto value = [&]() -> const char* {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "zorlet-sandbox: %s needs a value\n", argument.c_str());
                std::exit(2);
            }
            return argv[++i];
        };
        if (argument == "--db") {
            options.databasePath = value();
        } else if (argument == "--port") {
            char* end = nullptr;
            auto text = value();
            long port = std::strtol(text, &end, 10);
            if (*text == '\0' || *end != '\0' || port < 0 || port > 65535) {
                std::fprintf(stderr, "zorlet-sandbox: bad port %s\n", text);
                return 2;
            }
            options.port = static_cast<int>(port);
        } else if (argument == "--seed") {
            std::string seed = value();
            if (seed != "demo" && seed != "none") {
                std::fprintf(stderr, "zorlet-sandbox: unknown seed %s (only \"demo\")\n", seed.c_str());
                return 2;
            }
            options.seedDemo = seed == "demo";
        } else if (argument == "--data") {
            options.dataFolder = value();
        } else if (argument == "--resources") {
            options.resourcesFolder = value();
        } else if (argument == "--test-control") {
            options.testControl = true;
            // From the environment, not the command line, which every user of the machine can read.
            if (const char* secret = std::getenv("ZORLET_SANDBOX_SECRET")) {
                options.testControlSecret = secret;
            }
        } else if (argument == "--help" || argument == "-h") {
            usage();
            return 0;
        } else {
            std::fprintf(stderr, "zorlet-sandbox: unknown option %s\n", argument.c_str());
            usage();
            return 2;
        }
    }
    if (options.databasePath.empty()) {
        usage();
        return 2;
    }

    // Stop cleanly on Ctrl-C or SIGTERM, whichever thread the signal lands on.
    if (pipe(stopPipe) != 0) {
        std::perror("zorlet-sandbox: pipe");
        return 1;
    }
    std::signal(SIGINT, requestStop);
    std::signal(SIGTERM, requestStop);

    auto started = std::chrono::steady_clock::now();
    std::string error;
    auto server = zorlet::sandbox::SandboxServer::start(options, error);
    if (!server) {
        std::fprintf(stderr, "zorlet-sandbox: %s\n", error.c_str());
        return 1;
    }
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
