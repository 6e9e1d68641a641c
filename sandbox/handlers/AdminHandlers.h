#pragma once

namespace zorlet::sandbox {

class Routes;
class TestControl;

// The test control over HTTP, under the reserved prefix "/__sandbox/",
// answered only to callers on the loopback interface.
class AdminHandlers {
public:
    static void install(Routes& routes, TestControl& control);
};

}  // namespace zorlet::sandbox
