#include "host/EmbeddedSandbox.h"

#include "platform/HttpEngine.h"
#include "platform/Log.h"
#include "sandbox/DemoSeed.h"
#include "sandbox/SandboxServer.h"

#include <system_error>

namespace zorlet {

Result<std::unique_ptr<EmbeddedSandbox>> EmbeddedSandbox::start(const std::filesystem::path& folder,
                                                                sandbox::Passwords::Cost cost) {
    std::error_code fileError;
    std::filesystem::create_directories(folder, fileError);
    if (fileError) {
        return Failure{"cannot create the sandbox folder " + folder.string() + ": " + fileError.message()};
    }
    sandbox::SandboxOptions options;
    options.databasePath = folder / "sandbox.sqlite";
    options.dataFolder = folder / "pictures";
    options.port = 0;
    options.seedDemo = true;
    options.passwordCost = cost;
    // Flows and tours may drive the test control; the secret is made here per run and never leaves
    // this process, so nothing else on the machine can use it.
    options.testControl = true;
    auto server = sandbox::SandboxServer::start(options);
    if (!server) {
        return Failure{server.error()};
    }
    std::unique_ptr<EmbeddedSandbox> embedded(new EmbeddedSandbox());
    embedded->folder_ = folder;
    embedded->server_ = std::move(*server);
    log().info("sandbox serving {} from {} (demo account {}, password {})", embedded->baseUrl(),
               folder.string(), demoAccount(), demoPassword());
    return embedded;
}

EmbeddedSandbox::~EmbeddedSandbox() {
    if (server_) {
        // Otherwise stopping waits out the keep-alive time of the client's idle connections.
        HttpEngine::shared().closeIdleConnections();
        server_->stop();
    }
}

std::string EmbeddedSandbox::baseUrl() const {
    return server_->baseUrl();
}

std::string EmbeddedSandbox::testControlSecret() const {
    return server_->testControlSecret();
}

int EmbeddedSandbox::port() const {
    return server_->port();
}

const char* EmbeddedSandbox::demoAccount() {
    return sandbox::DemoSeed::demoAccount;
}

const char* EmbeddedSandbox::demoPassword() {
    return sandbox::DemoSeed::demoPassword;
}

}  // namespace zorlet
