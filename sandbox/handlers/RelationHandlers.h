#pragma once

namespace zorlet::sandbox {

class Routes;

// Following, blocking and reporting other users, and the two follow lists.
class RelationHandlers {
public:
    static void install(Routes& routes);
};

}  // namespace zorlet::sandbox
