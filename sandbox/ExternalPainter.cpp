#include "sandbox/ExternalPainter.h"

#include "platform/Image.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <numbers>

namespace zorlet::sandbox {

namespace {

std::string finish(cairo_surface_t* surface, cairo_t* cr) {
    cairo_destroy(cr);
    auto png = Image::pngData(surface);
    cairo_surface_destroy(surface);
    return png;
}

void setHue(cairo_t* cr, double hue, double saturation, double value) {
    double h = std::fmod(hue, 360.0) / 60.0;
    double c = value * saturation;
    double x = c * (1 - std::fabs(std::fmod(h, 2.0) - 1));
    double m = value - c;
    double rgb[6][3] = {{c, x, 0}, {x, c, 0}, {0, c, x}, {0, x, c}, {x, 0, c}, {c, 0, x}};
    auto* picked = rgb[static_cast<int>(h) % 6];
    cairo_set_source_rgb(cr, picked[0] + m, picked[1] + m, picked[2] + m);
}

void star(cairo_t* cr, double cx, double cy, double radius) {
    constexpr double pi = std::numbers::pi;
    for (int point = 0; point < 10; ++point) {
        double r = point % 2 == 0 ? radius : radius * 0.45;
        double angle = -pi / 2 + point * pi / 5;
        double x = cx + r * std::cos(angle);
        double y = cy + r * std::sin(angle);
        if (point == 0) {
            cairo_move_to(cr, x, y);
        } else {
            cairo_line_to(cr, x, y);
        }
    }
    cairo_close_path(cr);
}

}  // namespace

std::string ExternalPainter::photo(int category, int number) {
    constexpr double width = photoWidth;
    constexpr double height = photoHeight;
    auto* surface = cairo_image_surface_create(CAIRO_FORMAT_RGB24, photoWidth, photoHeight);
    auto* cr = cairo_create(surface);
    double hue = category * 33.0 + (number % 7) * 6.0;

    // Sky, then the street.
    setHue(cr, 200 + (number % 5) * 8, 0.35, 0.95);
    cairo_paint(cr);
    cairo_set_source_rgb(cr, 0.55, 0.55, 0.58);
    cairo_rectangle(cr, 0, height * 0.82, width, height * 0.18);
    cairo_fill(cr);

    // The building with its sign and awning stripes.
    double left = 30 + (number % 4) * 10;
    double right = width - 30 - (number % 3) * 12;
    double top = 30 + (number % 6) * 6;
    setHue(cr, hue, 0.25, 0.9);
    cairo_rectangle(cr, left, top, right - left, height * 0.82 - top);
    cairo_fill(cr);
    setHue(cr, hue, 0.75, 0.6);
    cairo_rectangle(cr, left + 10, top + 12, right - left - 20, 34);
    cairo_fill(cr);
    int stripes = 8 + number % 5;
    double stripeWidth = (right - left) / stripes;
    for (int i = 0; i < stripes; ++i) {
        if (i % 2 == 0) {
            setHue(cr, hue, 0.8, 0.85);
        } else {
            cairo_set_source_rgb(cr, 1, 1, 1);
        }
        cairo_move_to(cr, left + i * stripeWidth, top + 60);
        cairo_line_to(cr, left + (i + 1) * stripeWidth, top + 60);
        cairo_line_to(cr, left + (i + 1) * stripeWidth - 4, top + 84);
        cairo_line_to(cr, left + i * stripeWidth - 4, top + 84);
        cairo_close_path(cr);
        cairo_fill(cr);
    }
    // Windows and the door.
    cairo_set_source_rgb(cr, 0.95, 0.9, 0.6);
    int windows = 2 + number % 3;
    double windowWidth = (right - left - 80) / windows;
    for (int i = 0; i < windows; ++i) {
        cairo_rectangle(cr, left + 15 + i * (windowWidth + 10), top + 100, windowWidth - 10, 40);
    }
    cairo_fill(cr);
    setHue(cr, hue + 180, 0.4, 0.35);
    cairo_rectangle(cr, right - 60, height * 0.82 - 70, 40, 70);
    cairo_fill(cr);
    // The sign's mark: as many dots as the category's number, so categories tell apart.
    cairo_set_source_rgb(cr, 1, 1, 1);
    for (int i = 0; i <= category % 6; ++i) {
        cairo_arc(cr, left + 26 + i * 18, top + 29, 5, 0, 2 * std::numbers::pi);
        cairo_fill(cr);
    }
    return finish(surface, cr);
}

std::string ExternalPainter::rating(int rating, bool small) {
    int width = small ? smallRatingWidth : ratingWidth;
    int height = small ? smallRatingHeight : ratingHeight;
    auto* surface = cairo_image_surface_create(CAIRO_FORMAT_ARGB32, width, height);
    auto* cr = cairo_create(surface);
    double cell = width / 5.0;
    double radius = std::min(cell, static_cast<double>(height)) * 0.48;
    double filled = std::clamp(rating, 0, 50) / 10.0;
    for (int i = 0; i < 5; ++i) {
        double cx = cell * (i + 0.5);
        double cy = height / 2.0;
        cairo_set_source_rgb(cr, 0.85, 0.85, 0.85);
        star(cr, cx, cy, radius);
        cairo_fill(cr);
        double part = std::clamp(filled - i, 0.0, 1.0);
        if (part > 0) {
            cairo_save(cr);
            cairo_rectangle(cr, cx - radius, 0, 2 * radius * part, height);
            cairo_clip(cr);
            cairo_set_source_rgb(cr, 1.0, 0.6, 0.1);
            star(cr, cx, cy, radius);
            cairo_fill(cr);
            cairo_restore(cr);
        }
    }
    return finish(surface, cr);
}

}  // namespace zorlet::sandbox
