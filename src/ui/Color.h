#pragma once

#include <cstdint>

namespace zorlet {

// An sRGB colour with alpha, each component 0...1.
struct Color {
    double red = 0;
    double green = 0;
    double blue = 0;
    double alpha = 1;

    static Color rgb(int r, int g, int b, double alpha = 1.0) {
        return {r / 255.0, g / 255.0, b / 255.0, alpha};
    }
    static Color white(double level, double alpha = 1.0) { return {level, level, level, alpha}; }
    // 0xRRGGBB
    static Color hex(std::uint32_t value, double alpha = 1.0) {
        return Color::rgb((value >> 16) & 0xFF, (value >> 8) & 0xFF, value & 0xFF, alpha);
    }

    static Color clearColor() { return {0, 0, 0, 0}; }
    static Color blackColor() { return {0, 0, 0, 1}; }
    static Color whiteColor() { return {1, 1, 1, 1}; }
    static Color grayColor() { return {0.5, 0.5, 0.5, 1}; }
    static Color lightGrayColor() { return {2.0 / 3, 2.0 / 3, 2.0 / 3, 1}; }
    static Color darkGrayColor() { return {1.0 / 3, 1.0 / 3, 1.0 / 3, 1}; }
    static Color redColor() { return {1, 0, 0, 1}; }
    static Color blueColor() { return {0, 0, 1, 1}; }
    // The grouped table background.
    static Color groupTableViewBackground() { return Color::rgb(197, 204, 212); }

    Color withAlpha(double a) const { return {red, green, blue, a}; }
    bool isClear() const { return alpha <= 0; }
    bool operator==(const Color&) const = default;
};

}  // namespace zorlet
