#pragma once

namespace zorlet {

// Tells the paged lists how to build each record of this folder from a list
// element, under the record's class name ("User", "Post", "IdeaUser", ...).
// Registration is explicit rather than by static initialisers, which a static
// library may drop when nothing else refers to the record's file.
class RecordConverters {
public:
    // Idempotent; called once at start-up.
    static void registerAll();
};

}  // namespace zorlet
