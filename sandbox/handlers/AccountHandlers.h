#pragma once

namespace zorlet::sandbox {

class Routes;

// Sign-in, the session check, registration, password recovery, sign-out and push tokens.
class AccountHandlers {
public:
    static void install(Routes& routes);
};

}  // namespace zorlet::sandbox
