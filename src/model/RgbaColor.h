#pragma once

namespace zorlet {

// A colour as components from 0 to 1, the form in which records hand display
// colours to screens.
struct RgbaColor {
    double red = 0;
    double green = 0;
    double blue = 0;
    double alpha = 1;

    friend bool operator==(const RgbaColor&, const RgbaColor&) = default;
};

}  // namespace zorlet
