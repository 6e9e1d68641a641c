#include "sandbox/IdeaPainter.h"

#include "platform/Image.h"

#include <cairo.h>

#include <cmath>
#include <numbers>

namespace zorlet::sandbox {

namespace {

void setHue(cairo_t* cr, double hue, double saturation, double value, double alpha = 1) {
    double h = std::fmod(hue, 360.0) / 60.0;
    double c = value * saturation;
    double x = c * (1 - std::fabs(std::fmod(h, 2.0) - 1));
    double m = value - c;
    double rgb[6][3] = {{c, x, 0}, {x, c, 0}, {0, c, x}, {0, x, c}, {x, 0, c}, {c, 0, x}};
    auto* picked = rgb[static_cast<int>(h) % 6];
    cairo_set_source_rgba(cr, picked[0] + m, picked[1] + m, picked[2] + m, alpha);
}

// One recognisable motif per category, drawn around the centre.
void drawMotif(cairo_t* cr, int category, double cx, double cy, double size) {
    constexpr double pi = std::numbers::pi;
    cairo_set_source_rgba(cr, 1, 1, 1, 0.85);
    cairo_set_line_width(cr, size * 0.08);
    cairo_set_line_cap(cr, CAIRO_LINE_CAP_ROUND);
    switch (category % 12) {
        case 0:  // a bowl
            cairo_arc(cr, cx, cy, size, 0, pi);
            cairo_fill(cr);
            cairo_move_to(cr, cx - size * 0.3, cy - size * 0.9);
            cairo_line_to(cr, cx + size * 0.6, cy - size * 0.2);
            cairo_stroke(cr);
            break;
        case 1:  // a film frame
            cairo_rectangle(cr, cx - size, cy - size * 0.7, size * 2, size * 1.4);
            cairo_stroke(cr);
            cairo_move_to(cr, cx - size * 0.3, cy - size * 0.4);
            cairo_line_to(cr, cx + size * 0.45, cy);
            cairo_line_to(cr, cx - size * 0.3, cy + size * 0.4);
            cairo_close_path(cr);
            cairo_fill(cr);
            break;
        case 2:  // a stage light
            cairo_move_to(cr, cx, cy - size);
            cairo_line_to(cr, cx - size, cy + size);
            cairo_line_to(cr, cx + size, cy + size);
            cairo_close_path(cr);
            cairo_fill(cr);
            break;
        case 3:  // a framed picture
            cairo_rectangle(cr, cx - size, cy - size, size * 2, size * 2);
            cairo_stroke(cr);
            cairo_arc(cr, cx, cy, size * 0.4, 0, 2 * pi);
            cairo_fill(cr);
            break;
        case 4:  // a ball
            cairo_arc(cr, cx, cy, size, 0, 2 * pi);
            cairo_stroke(cr);
            cairo_move_to(cr, cx - size, cy);
            cairo_line_to(cr, cx + size, cy);
            cairo_stroke(cr);
            break;
        case 5:  // mountains
            cairo_move_to(cr, cx - size * 1.4, cy + size);
            cairo_line_to(cr, cx - size * 0.3, cy - size);
            cairo_line_to(cr, cx + size * 0.4, cy + size * 0.1);
            cairo_line_to(cr, cx + size * 0.8, cy - size * 0.4);
            cairo_line_to(cr, cx + size * 1.4, cy + size);
            cairo_close_path(cr);
            cairo_fill(cr);
            break;
        case 6:  // a paper plane
            cairo_move_to(cr, cx - size, cy);
            cairo_line_to(cr, cx + size, cy - size * 0.7);
            cairo_line_to(cr, cx, cy + size * 0.8);
            cairo_close_path(cr);
            cairo_fill(cr);
            break;
        case 7:  // glasses raised
            for (double side : {-1.0, 1.0}) {
                cairo_move_to(cr, cx + side * size * 0.5 - size * 0.3, cy - size * 0.8);
                cairo_line_to(cr, cx + side * size * 0.5 + size * 0.3, cy - size * 0.8);
                cairo_line_to(cr, cx + side * size * 0.5, cy + size * 0.8);
                cairo_close_path(cr);
                cairo_fill(cr);
            }
            break;
        case 8:  // a cup
            cairo_rectangle(cr, cx - size * 0.7, cy - size * 0.6, size * 1.2, size * 1.3);
            cairo_fill(cr);
            cairo_arc(cr, cx + size * 0.6, cy, size * 0.35, -pi / 2, pi / 2);
            cairo_stroke(cr);
            break;
        case 9:  // a speech bubble
            cairo_arc(cr, cx, cy - size * 0.2, size, 0, 2 * pi);
            cairo_fill(cr);
            cairo_move_to(cr, cx - size * 0.5, cy + size * 0.6);
            cairo_line_to(cr, cx - size * 0.9, cy + size * 1.2);
            cairo_line_to(cr, cx, cy + size * 0.75);
            cairo_fill(cr);
            break;
        case 10:  // a bag
            cairo_rectangle(cr, cx - size, cy - size * 0.4, size * 2, size * 1.4);
            cairo_fill(cr);
            cairo_arc(cr, cx, cy - size * 0.4, size * 0.5, pi, 2 * pi);
            cairo_stroke(cr);
            break;
        default:  // a heart
            cairo_arc(cr, cx - size * 0.45, cy - size * 0.3, size * 0.5, pi, 2 * pi);
            cairo_arc(cr, cx + size * 0.45, cy - size * 0.3, size * 0.5, pi, 2 * pi);
            cairo_line_to(cr, cx, cy + size);
            cairo_close_path(cr);
            cairo_fill(cr);
            break;
    }
}

}  // namespace

std::string IdeaPainter::poster(int category, int variation) {
    constexpr double width = pictureWidth;
    constexpr double height = pictureHeight;
    auto* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, pictureWidth, pictureHeight);
    auto* cr = cairo_create(surface);
    double hue = category * 30.0 + variation * 9.0;

    auto* background = cairo_pattern_create_linear(0, 0, width, height);
    cairo_pattern_add_color_stop_rgb(background, 0, 0.2, 0.2, 0.25);
    cairo_pattern_add_color_stop_rgb(background, 1, 0.05, 0.05, 0.1);
    cairo_rectangle(cr, 0, 0, width, height);
    cairo_set_source(cr, background);
    cairo_fill(cr);
    cairo_pattern_destroy(background);
    setHue(cr, hue, 0.55, 0.85);
    cairo_rectangle(cr, 0, 0, width, height);
    cairo_paint_with_alpha(cr, 0.9);

    // A few soft circles, placed by the variation, so posters of one category differ.
    for (int i = 0; i < 5; ++i) {
        double x = std::fmod((variation + 1) * 137.0 * (i + 1), width);
        double y = std::fmod((variation + 3) * 89.0 * (i + 2), height);
        setHue(cr, hue + 40 + i * 15, 0.5, 1.0, 0.25);
        cairo_arc(cr, x, y, 40 + 25 * ((variation + i) % 4), 0, 2 * std::numbers::pi);
        cairo_fill(cr);
    }
    drawMotif(cr, category, width / 2, height * 0.42, 90);

    cairo_destroy(cr);
    auto png = Image::pngData(surface);
    cairo_surface_destroy(surface);
    return png;
}

}  // namespace zorlet::sandbox
