#include "sandbox/AvatarPainter.h"

#include "platform/Image.h"

#include <cairo.h>

#include <cmath>
#include <numbers>

namespace zorlet::sandbox {

namespace {

struct Colour {
    double red, green, blue;
};

Colour fromHue(double hue, double saturation, double value) {
    double h = std::fmod(hue, 360.0) / 60.0;
    double c = value * saturation;
    double x = c * (1 - std::fabs(std::fmod(h, 2.0) - 1));
    double m = value - c;
    Colour colours[] = {{c, x, 0}, {x, c, 0}, {0, c, x}, {0, x, c}, {x, 0, c}, {c, 0, x}};
    auto picked = colours[static_cast<int>(h) % 6];
    return {picked.red + m, picked.green + m, picked.blue + m};
}

void fill(cairo_t* cr, Colour colour) {
    cairo_set_source_rgb(cr, colour.red, colour.green, colour.blue);
    cairo_fill(cr);
}

}  // namespace

std::string AvatarPainter::avatar(int number, bool male) {
    constexpr double side = avatarSide;
    auto* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, avatarSide, avatarSide);
    auto* cr = cairo_create(surface);
    constexpr double pi = std::numbers::pi;

    cairo_rectangle(cr, 0, 0, side, side);
    fill(cr, fromHue(number * 47.0, 0.35, 0.95));

    static const Colour hairColours[] = {
        {0.15, 0.1, 0.08}, {0.35, 0.2, 0.1}, {0.55, 0.35, 0.2}, {0.1, 0.1, 0.12}};
    auto hair = hairColours[number % 4];
    if (!male) {
        // Long hair falls behind the face.
        cairo_arc(cr, side / 2, side * 0.5, side * 0.33, pi, 2 * pi);
        cairo_rectangle(cr, side / 2 - side * 0.33, side * 0.5, side * 0.66, side * 0.32);
        fill(cr, hair);
    }
    cairo_arc(cr, side / 2, side * 1.05, side * 0.42, pi, 2 * pi);  // shoulders
    fill(cr, fromHue(number * 47.0 + 180, 0.5, 0.7));
    cairo_arc(cr, side / 2, side * 0.5, side * 0.26, 0, 2 * pi);  // face
    fill(cr, {0.98, 0.85, 0.72});
    cairo_arc(cr, side / 2, side * 0.46, side * 0.27, pi * 1.05, pi * 1.95);  // fringe
    cairo_close_path(cr);
    fill(cr, hair);
    for (double eye : {-1.0, 1.0}) {
        cairo_arc(cr, side / 2 + eye * side * 0.09, side * 0.52, side * 0.025, 0, 2 * pi);
        fill(cr, {0.15, 0.15, 0.2});
    }
    cairo_set_line_width(cr, side * 0.018);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    cairo_arc(cr, side / 2, side * 0.58, side * 0.08, pi * 0.2, pi * 0.8);  // smile
    cairo_set_source_rgb(cr, 0.75, 0.35, 0.35);
    cairo_stroke(cr);

    cairo_destroy(cr);
    auto png = Image::pngData(surface);
    cairo_surface_destroy(surface);
    return png;
}

std::string AvatarPainter::scenery(int number) {
    constexpr double width = sceneryWidth;
    constexpr double height = sceneryHeight;
    auto* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, sceneryWidth, sceneryHeight);
    auto* cr = cairo_create(surface);
    constexpr double pi = std::numbers::pi;

    auto* sky = cairo_pattern_create_linear(0, 0, 0, height * 0.7);
    auto top = fromHue(200 + number * 23.0, 0.6, 0.9);
    auto bottom = fromHue(30 + number * 11.0, 0.3, 1.0);
    cairo_pattern_add_color_stop_rgb(sky, 0, top.red, top.green, top.blue);
    cairo_pattern_add_color_stop_rgb(sky, 1, bottom.red, bottom.green, bottom.blue);
    cairo_rectangle(cr, 0, 0, width, height);
    cairo_set_source(cr, sky);
    cairo_fill(cr);
    cairo_pattern_destroy(sky);

    cairo_arc(cr, width * (0.2 + 0.09 * (number % 7)), height * 0.25, 28, 0, 2 * pi);  // sun
    fill(cr, {1.0, 0.85, 0.4});

    for (int ridge = 0; ridge < 3; ++ridge) {
        double base = height * (0.62 + ridge * 0.08);
        double peak = width * (0.15 + 0.3 * ridge + 0.05 * ((number + ridge) % 4));
        cairo_move_to(cr, peak - width * 0.45, base + 40);
        cairo_line_to(cr, peak, base - 90 + ridge * 25);
        cairo_line_to(cr, peak + width * 0.45, base + 40);
        cairo_close_path(cr);
        fill(cr, fromHue(110 + number * 13.0 + ridge * 20, 0.45, 0.55 - ridge * 0.1));
    }
    cairo_rectangle(cr, 0, height * 0.85, width, height * 0.15);
    fill(cr, fromHue(90 + number * 7.0, 0.5, 0.45));

    cairo_destroy(cr);
    auto png = Image::pngData(surface);
    cairo_surface_destroy(surface);
    return png;
}

}  // namespace zorlet::sandbox
