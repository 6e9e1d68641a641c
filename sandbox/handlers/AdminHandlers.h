#pragma once

namespace zorlet::sandbox {

class Routes;
class TestControl;

// The test control over HTTP, under the reserved prefix "/__sandbox/", installed
// only when the service runs with test control. A page in a browser on the same
// machine must not be able to use it, so every call needs the secret in
// X-Sandbox-Secret (a header such a page cannot send without asking first), the
// loopback address as Host (against DNS rebinding), and POST for anything that
// changes data.
class AdminHandlers {
public:
    static constexpr const char* secretHeader = "X-Sandbox-Secret";

    static void install(Routes& routes, TestControl& control);
};

}  // namespace zorlet::sandbox
