#pragma once

namespace zorlet::sandbox {

class Routes;

// Ready-made invitation texts for users who do not know how to start.
class DateSuggestionHandlers {
public:
    static void install(Routes& routes);
};

}  // namespace zorlet::sandbox
