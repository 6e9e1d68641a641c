#include "ui/Painter.h"

#include "ui/MissingImageRegistry.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>

namespace zorlet {

void Painter::setColor(const Color& color) {
    cairo_set_source_rgba(cr_, color.red, color.green, color.blue, color.alpha);
}

void Painter::fillRect(const Rect& rect, const Color& color) {
    setColor(color);
    cairo_rectangle(cr_, rect.x(), rect.y(), rect.width(), rect.height());
    cairo_fill(cr_);
}

void Painter::strokeRect(const Rect& rect, const Color& color, double lineWidth) {
    setColor(color);
    cairo_set_line_width(cr_, lineWidth);
    double half = lineWidth / 2;
    cairo_rectangle(cr_, rect.x() + half, rect.y() + half, rect.width() - lineWidth,
                    rect.height() - lineWidth);
    cairo_stroke(cr_);
}

void Painter::roundedPath(const Rect& rect, double radius) {
    double r = std::min({radius, rect.width() / 2, rect.height() / 2});
    double x = rect.x();
    double y = rect.y();
    double w = rect.width();
    double h = rect.height();
    cairo_new_sub_path(cr_);
    cairo_arc(cr_, x + w - r, y + r, r, -M_PI / 2, 0);
    cairo_arc(cr_, x + w - r, y + h - r, r, 0, M_PI / 2);
    cairo_arc(cr_, x + r, y + h - r, r, M_PI / 2, M_PI);
    cairo_arc(cr_, x + r, y + r, r, M_PI, 3 * M_PI / 2);
    cairo_close_path(cr_);
}

void Painter::fillRoundedRect(const Rect& rect, double radius, const Color& color) {
    setColor(color);
    roundedPath(rect, radius);
    cairo_fill(cr_);
}

void Painter::strokeRoundedRect(const Rect& rect, double radius, const Color& color, double lineWidth) {
    setColor(color);
    cairo_set_line_width(cr_, lineWidth);
    roundedPath(rect.insetBy({lineWidth / 2, lineWidth / 2, lineWidth / 2, lineWidth / 2}), radius);
    cairo_stroke(cr_);
}

void Painter::fillCircle(Point center, double radius, const Color& color) {
    setColor(color);
    cairo_new_sub_path(cr_);
    cairo_arc(cr_, center.x, center.y, radius, 0, 2 * M_PI);
    cairo_fill(cr_);
}

void Painter::drawLine(Point from, Point to, const Color& color, double lineWidth) {
    setColor(color);
    cairo_set_line_width(cr_, lineWidth);
    cairo_move_to(cr_, from.x, from.y);
    cairo_line_to(cr_, to.x, to.y);
    cairo_stroke(cr_);
}

void Painter::drawText(const Rect& rect, std::string_view text, const Font& font, const Color& color,
                       TextAlignment alignment, LineBreakMode mode, int numberOfLines) {
    if (color.isClear()) {
        return;
    }
    setColor(color);
    TextLayout::shared().draw(cr_, rect.x(), rect.y(), rect.width(), rect.height(), text, font, alignment,
                              mode, numberOfLines);
}

namespace {

// Pixels per point of the surface being drawn into, so pictures are
// rasterised for it rather than scaled from another size.
double deviceScale(cairo_t* cr) {
    double dx = 1;
    double dy = 0;
    cairo_user_to_device_distance(cr, &dx, &dy);
    double scale = std::hypot(dx, dy);
    // Renditions are cached per scale: keep the number of distinct scales small.
    return std::clamp(std::round(scale * 4) / 4, 0.25, 8.0);
}

// Draws the pixel rectangle `source` of `surface` over `target` (points).
// Padding at the edges of a sub-surface keeps neighbouring slices from
// bleeding into a stretched one.
void drawSlice(cairo_t* cr, cairo_surface_t* surface, const Rect& source, const Rect& target) {
    if (source.width() <= 0 || source.height() <= 0 || target.width() <= 0 || target.height() <= 0) {
        return;
    }
    cairo_surface_t* slice =
        cairo_surface_create_for_rectangle(surface, source.x(), source.y(), source.width(), source.height());
    cairo_save(cr);
    cairo_rectangle(cr, target.x(), target.y(), target.width(), target.height());
    cairo_clip(cr);
    cairo_translate(cr, target.x(), target.y());
    cairo_scale(cr, target.width() / source.width(), target.height() / source.height());
    cairo_set_source_surface(cr, slice, 0, 0);
    cairo_pattern_set_extend(cairo_get_source(cr), CAIRO_EXTEND_PAD);
    cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
    cairo_paint(cr);
    cairo_restore(cr);
    cairo_surface_destroy(slice);
}

// One axis of a stretchable picture: the fixed start, the stretched middle and
// the fixed end, in points of the picture and of the box. Caps that do not fit
// the box shrink in proportion.
struct Spans {
    double source[4];
    double target[4];
};

Spans spans(double length, double cap, double box) {
    double start = std::min(cap, length);
    double end = cap > 0 ? std::max(0.0, length - start - 1) : 0;
    double middle = length - start - end;
    double fixed = start + end;
    double shrink = fixed > box && fixed > 0 ? box / fixed : 1;
    double targetStart = start * shrink;
    double targetEnd = end * shrink;
    return {{0, start, start + middle, length}, {0, targetStart, box - targetEnd, box}};
}

}  // namespace

void Painter::drawImage(const ImageAsset& image, const Rect& rect) {
    if (rect.isEmpty()) {
        return;
    }
    ImagePtr pixels = image.hasPixels() ? image.rendition(deviceScale(cr_)) : nullptr;
    if (pixels && pixels->pixelWidth() > 0 && pixels->pixelHeight() > 0) {
        cairo_surface_t* surface = pixels->createCairoSurface();
        Size size = image.isVector() ? image.size() : Size{pixels->width(), pixels->height()};
        Spans across = spans(size.width, image.leftCap(), rect.width());
        Spans down = spans(size.height, image.topCap(), rect.height());
        double pixelsPerPointX = pixels->pixelWidth() / size.width;
        double pixelsPerPointY = pixels->pixelHeight() / size.height;
        for (int row = 0; row < 3; ++row) {
            for (int column = 0; column < 3; ++column) {
                Rect source(across.source[column] * pixelsPerPointX, down.source[row] * pixelsPerPointY,
                            (across.source[column + 1] - across.source[column]) * pixelsPerPointX,
                            (down.source[row + 1] - down.source[row]) * pixelsPerPointY);
                Rect target(rect.x() + across.target[column], rect.y() + down.target[row],
                            across.target[column + 1] - across.target[column],
                            down.target[row + 1] - down.target[row]);
                drawSlice(cr_, surface, source, target);
            }
        }
        cairo_surface_destroy(surface);
        return;
    }
    MissingImageRegistry::shared().noteDrawn(image.name().empty() ? "(unnamed)" : image.name());
    // A stand-in whose tint follows the name, so neighbouring placeholders differ.
    std::size_t hash = std::hash<std::string>{}(image.name());
    Color tint = Color::rgb(120 + static_cast<int>(hash % 100), 120 + static_cast<int>((hash / 100) % 100),
                            120 + static_cast<int>((hash / 10000) % 100), 0.6);
    cairo_save(cr_);
    cairo_rectangle(cr_, rect.x(), rect.y(), rect.width(), rect.height());
    cairo_clip(cr_);
    fillRect(rect, tint);
    strokeRect(rect, Color::white(0.25, 0.8), 1);
    drawLine(rect.origin, {rect.maxX(), rect.maxY()}, Color::white(0.25, 0.4));
    double fontSize = std::clamp(rect.height() / 3, 6.0, 11.0);
    drawText(rect, image.name(), Font::systemFont(fontSize), Color::white(0.1), TextAlignment::Center,
             LineBreakMode::CharacterWrap, 0);
    cairo_restore(cr_);
}

}  // namespace zorlet
