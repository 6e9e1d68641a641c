#pragma once

namespace zorlet::sandbox {

class Routes;

// Private messages: the dialog list, a conversation and its refresh, sending
// (with the sender's message id, so a resend is stored once) and deleting a
// dialog for oneself.
class DialogHandlers {
public:
    static void install(Routes& routes);
};

}  // namespace zorlet::sandbox
