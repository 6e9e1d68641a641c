#pragma once

namespace zorlet::sandbox {

class Routes;

// The unread-notice count the tab shell polls.
class NoticeHandlers {
public:
    static void install(Routes& routes);
};

}  // namespace zorlet::sandbox
