#pragma once

namespace zorlet::sandbox {

class Routes;

// The users feed: nearby users and users by activity or newest post, each with the latest post.
class FeedHandlers {
public:
    static void install(Routes& routes);
};

}  // namespace zorlet::sandbox
