#pragma once

namespace zorlet::sandbox {

class Routes;

// The external review service as the server relays it: the place categories,
// the places by category or keyword ordered by rating or distance, and for
// each place its web page, its photo and its rating pictures.
class ExternalHandlers {
public:
    static constexpr int placePageSize = 20;
    // The longest keyword searched; longer ones are cut, not refused.
    static constexpr int longestKeyword = 60;

    static void install(Routes& routes);
};

}  // namespace zorlet::sandbox
