#pragma once

#include "sandbox/Reply.h"

#include <cstdint>

namespace zorlet::sandbox {

class Routes;
struct Call;

// Ideas: the paged list by category and order, one idea, its takers, its
// position, sharing it, and inviting a taker (or anyone) to go together.
class IdeaHandlers {
public:
    static void install(Routes& routes);

    // Marks that the signed-in user wants to go: once per user and idea, with
    // a post of the user made from the idea and the idea's count raised.
    static Reply wantToGo(Call& call, std::int64_t ideaId);
};

}  // namespace zorlet::sandbox
