#pragma once

#include "platform/Result.h"
#include "sandbox/Passwords.h"

#include <filesystem>
#include <memory>
#include <string>

namespace zorlet {

namespace sandbox {
class SandboxServer;
}

// The sandbox service running inside the client's process on a free loopback
// port, with a data folder of its own that is seeded with the demo data the
// first time it is used.
class EmbeddedSandbox {
public:
    // A failure saying why when the service cannot start.
    static Result<std::unique_ptr<EmbeddedSandbox>> start(
        const std::filesystem::path& folder,
        sandbox::Passwords::Cost cost = sandbox::Passwords::Cost::Interactive);
    ~EmbeddedSandbox();
    EmbeddedSandbox(const EmbeddedSandbox&) = delete;
    EmbeddedSandbox& operator=(const EmbeddedSandbox&) = delete;

    std::string baseUrl() const;
    int port() const;
    // What the test control's HTTP calls (/__sandbox/...) must send in X-Sandbox-Secret.
    std::string testControlSecret() const;
    const std::filesystem::path& folder() const { return folder_; }
    sandbox::SandboxServer& server() { return *server_; }

    static const char* demoAccount();
    static const char* demoPassword();

private:
    EmbeddedSandbox() = default;
    std::filesystem::path folder_;
    std::unique_ptr<sandbox::SandboxServer> server_;
};

}  // namespace zorlet
