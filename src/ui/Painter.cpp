#include "ui/Painter.h"

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

void Painter::drawImage(const ImageAsset& image, const Rect& rect) {
    if (rect.isEmpty()) {
        return;
    }
    if (image.hasPixels() && image.image()->pixelWidth() > 0 && image.image()->pixelHeight() > 0) {
        cairo_surface_t* surface = const_cast<Image&>(*image.image()).createCairoSurface();
        cairo_save(cr_);
        cairo_translate(cr_, rect.x(), rect.y());
        cairo_scale(cr_, rect.width() / image.image()->pixelWidth(),
                    rect.height() / image.image()->pixelHeight());
        cairo_set_source_surface(cr_, surface, 0, 0);
        cairo_pattern_set_filter(cairo_get_source(cr_), CAIRO_FILTER_GOOD);
        cairo_paint(cr_);
        cairo_restore(cr_);
        cairo_surface_destroy(surface);
        return;
    }
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
