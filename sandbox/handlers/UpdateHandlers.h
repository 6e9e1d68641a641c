#pragma once

#include "sandbox/Reply.h"

namespace zorlet::sandbox {

class Routes;
struct Call;

// The client's update check, answered with what the operator set: no new
// version until one is announced through the admin endpoint "update".
class UpdateHandlers {
public:
    static void install(Routes& routes);
    // Announces a version (`version`, `update_log`, `path`), or withdraws it when `version` is empty.
    static Reply announce(Call& call);
};

}  // namespace zorlet::sandbox
