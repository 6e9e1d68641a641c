#pragma once

namespace zorlet::sandbox {

class Routes;

// What the post detail screen does with one post: comment, delete, list who responded.
class PostDetailHandlers {
public:
    static void install(Routes& routes);
};

}  // namespace zorlet::sandbox
