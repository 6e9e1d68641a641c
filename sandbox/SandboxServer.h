#pragma once

#include "platform/Result.h"
#include "sandbox/SandboxOptions.h"

#include <memory>
#include <string>
#include <thread>

namespace httplib {
class Server;
}

namespace zorlet::sandbox {

class Database;
class LoginThrottle;
class Pictures;
class ReferenceData;
class Routes;
class Sessions;
class TestControl;
struct ServiceContext;

// The local Zorlet service: the API on 127.0.0.1, served from its own threads
// until stopped. Tests and the client's sandbox mode run it in-process;
// zorlet-sandbox runs it as a program.
class SandboxServer {
public:
    // A failure saying why when the database, the data folder or the port cannot be used.
    static Result<std::unique_ptr<SandboxServer>> start(SandboxOptions options);
    ~SandboxServer();
    SandboxServer(const SandboxServer&) = delete;
    SandboxServer& operator=(const SandboxServer&) = delete;

    void stop();
    int port() const { return port_; }
    // "http://127.0.0.1:PORT": the API base the client builds its URLs on.
    std::string baseUrl() const;
    // In-process control for tests and demos, whatever the options say.
    TestControl& testControl() { return *testControl_; }
    // What X-Sandbox-Secret must say on /__sandbox/ calls; empty when they are off.
    std::string testControlSecret() const;

private:
    SandboxServer() = default;
    Status plantDemoIfEmpty();
    bool resetData();

    std::unique_ptr<Database> database_;
    std::unique_ptr<Sessions> sessions_;
    std::unique_ptr<Pictures> pictures_;
    std::unique_ptr<ReferenceData> reference_;
    std::unique_ptr<LoginThrottle> logins_;
    std::unique_ptr<ServiceContext> context_;
    std::unique_ptr<httplib::Server> http_;
    std::unique_ptr<Routes> routes_;
    std::unique_ptr<TestControl> testControl_;
    std::thread listener_;
    int port_ = 0;
};

}  // namespace zorlet::sandbox
