#pragma once

#include "sandbox/Passwords.h"

#include <filesystem>
#include <string>

namespace zorlet::sandbox {

struct SandboxOptions {
    // The SQLite file; created when missing.
    std::filesystem::path databasePath;
    // Where pictures are stored; empty: a folder next to the database.
    std::filesystem::path dataFolder;
    // Where the reference lists are read from.
    std::filesystem::path resourcesFolder = ZORLET_RESOURCES_DIR;
    // 0: any free port. The service always binds 127.0.0.1.
    int port = 0;
    // Fill an empty database with the demo users and posts.
    bool seedDemo = false;
    Passwords::Cost passwordCost = Passwords::Cost::Interactive;
    int workerThreads = 32;
    // Serve the test control under /__sandbox/ (creating users, signing them out,
    // reading the mails sent, resetting everything). Off for ordinary use: those calls
    // need no account. Even when on, each call must carry the secret in the
    // X-Sandbox-Secret header, come from this machine and name it as Host.
    bool testControl = false;
    // The secret for the test control; empty: a random one is made at start.
    std::string testControlSecret;
};

}  // namespace zorlet::sandbox
