#pragma once

namespace zorlet::sandbox {

class Routes;

// The signed-in user's own home: refreshing it, saving the questionnaire
// answers and the privacy switches.
class MyHomeHandlers {
public:
    static void install(Routes& routes);
};

}  // namespace zorlet::sandbox
