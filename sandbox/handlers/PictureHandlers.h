#pragma once

namespace zorlet::sandbox {

class Routes;

// Serving stored pictures.
class PictureHandlers {
public:
    static void install(Routes& routes);
};

}  // namespace zorlet::sandbox
