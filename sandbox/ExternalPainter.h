#pragma once

#include <string>

namespace zorlet::sandbox {

// Draws the pictures of the external places with Cairo, on demand: a shop
// front per place (colours and sign by category, details by number) and the
// rating stars, as PNG, always the same for the same arguments.
class ExternalPainter {
public:
    static constexpr int photoWidth = 320;
    static constexpr int photoHeight = 240;
    static constexpr int ratingWidth = 100;
    static constexpr int ratingHeight = 20;
    static constexpr int smallRatingWidth = 60;
    static constexpr int smallRatingHeight = 12;

    static std::string photo(int category, int number);
    // `rating` in tenths of a star, 0 to 50; `small` draws the narrow strip.
    static std::string rating(int rating, bool small);
};

}  // namespace zorlet::sandbox
