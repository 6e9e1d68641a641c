#pragma once

#include "sandbox/Database.h"
#include "sandbox/LoginThrottle.h"
#include "sandbox/Pictures.h"
#include "sandbox/ReferenceData.h"
#include "sandbox/SandboxOptions.h"
#include "sandbox/Sessions.h"

namespace zorlet::sandbox {

// What every handler may use; owned by the server, alive while it runs.
struct ServiceContext {
    SandboxOptions options;
    Database& database;
    Sessions& sessions;
    Pictures& pictures;
    const ReferenceData& reference;
    LoginThrottle& logins;
    int port = 0;
};

}  // namespace zorlet::sandbox
