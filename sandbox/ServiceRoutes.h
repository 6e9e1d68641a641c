#pragma once

namespace httplib {
class Server;
}

namespace zorlet::sandbox {

class Routes;
class TestControl;

// Everything the service answers, apart from where the requests come from: the
// server sockets of SandboxServer, or memory in the fuzzing harnesses.
class ServiceRoutes {
public:
    // The body limit and the answers for unknown paths and oversized bodies.
    static void configure(httplib::Server& http);
    // Every API path and page; the test control's paths only when `testControl` is given.
    static void install(Routes& routes, TestControl* testControl);
};

}  // namespace zorlet::sandbox
