#pragma once

namespace zorlet::sandbox {

class Routes;

// Responses to posts.
class PostHandlers {
public:
    static void install(Routes& routes);
};

}  // namespace zorlet::sandbox
