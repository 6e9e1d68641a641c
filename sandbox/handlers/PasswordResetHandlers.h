#pragma once

namespace zorlet::sandbox {

class Routes;

// The page behind the link of a "forgot password" mail, where the new password is set.
class PasswordResetHandlers {
public:
    static void install(Routes& routes);
};

}  // namespace zorlet::sandbox
