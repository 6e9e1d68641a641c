#pragma once

#include <string>

namespace zorlet::sandbox {

// Draws the demo pictures with Cairo: a simple face per user and a small
// landscape per post, each a PNG, always the same for the same number.
class AvatarPainter {
public:
    static constexpr int avatarSide = 200;
    static constexpr int sceneryWidth = 480;
    static constexpr int sceneryHeight = 320;

    static std::string avatar(int number, bool male);
    static std::string scenery(int number);
};

}  // namespace zorlet::sandbox
