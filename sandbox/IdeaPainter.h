#pragma once

#include <string>

namespace zorlet::sandbox {

// Draws the demo pictures of ideas with Cairo: a poster per category (its own
// colours and motif) with a variation per number, as PNG, always the same for
// the same arguments.
class IdeaPainter {
public:
    static constexpr int pictureWidth = 640;
    static constexpr int pictureHeight = 500;

    // `category` counts from 0 in the order of the category list.
    static std::string poster(int category, int variation);
};

}  // namespace zorlet::sandbox
