#pragma once

#include "model/Idea.h"

#include <cstdint>
#include <functional>

namespace zorlet {

class View;

// The server calls several idea screens make alike.
class IdeaService {
public:
    static constexpr const char* kMarkedText = "发布成功，也许会有人约你同去哦";

    // Want-to-go: marks `idea` (count and flag change in place on success,
    // then `marked` runs) behind a progress indicator on the key window. A
    // refusal or failure is shown and leaves the idea unchanged.
    static void postIdea(const IdeaPtr& idea, std::function<void()> marked);

    // Whether a taker list should open by itself after marking: someone else
    // wants to go too, and the idea has a city to meet in.
    static bool suggestsTakers(const Idea& idea) { return !idea.cityName.empty() && idea.useCount > 1; }
};

}  // namespace zorlet
