#pragma once

#include "sandbox/Database.h"
#include "sandbox/LoginThrottle.h"
#include "sandbox/Pictures.h"
#include "sandbox/ReferenceData.h"
#include "sandbox/Routes.h"
#include "sandbox/ServiceContext.h"
#include "sandbox/Sessions.h"

#include <httplib.h>

#include <memory>
#include <string>
#include <string_view>

namespace zorlet::sandbox::fuzz {

// The whole service (every route, the real database and picture checks) answering
// requests from memory instead of a socket, so a fuzzer can drive thousands per
// second through cpp-httplib's request parsing and the handlers alike.
class SandboxHarness {
public:
    // One per process: the database lives in a temporary folder removed at exit.
    static SandboxHarness& shared();
    ~SandboxHarness();

    // Serves one raw HTTP request; the answer's status, or 0 when none was written.
    int serve(std::string_view request);
    // The Cookie header of a signed-in user with a complete profile, for calls that need one.
    const std::string& signedInCookie() const { return cookie_; }

private:
    SandboxHarness();

    class MemoryServer : public httplib::Server {
    public:
        bool serve(httplib::Stream& stream);
    };

    std::string folder_;
    std::unique_ptr<Database> database_;
    std::unique_ptr<Sessions> sessions_;
    std::unique_ptr<Pictures> pictures_;
    std::unique_ptr<ReferenceData> reference_;
    std::unique_ptr<LoginThrottle> logins_;
    std::unique_ptr<ServiceContext> context_;
    MemoryServer http_;
    std::unique_ptr<Routes> routes_;
    std::string cookie_;
};

}  // namespace zorlet::sandbox::fuzz
