#pragma once

#include <string>

namespace zorlet {

class ImageView;

// Avatars and post pictures in lists and headers: loaded from the web,
// cropped to the view at twice its size (for sharpness) and rounded.
class RoundedWebImage {
public:
    static constexpr double kCornerRadius = 8;

    static void load(ImageView& view, const std::string& url, const std::string& placeholder);
};

}  // namespace zorlet
