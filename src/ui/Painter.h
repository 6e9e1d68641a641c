#pragma once

#include "platform/TextLayout.h"
#include "ui/Color.h"
#include "ui/Geometry.h"
#include "ui/ImageAsset.h"

#include <string_view>

struct _cairo;

namespace zorlet {

// What a view may draw with, in its own coordinates. The renderer owns the
// Cairo context and positions the painter for each view.
class Painter {
public:
    explicit Painter(_cairo* cr) : cr_(cr) {}

    _cairo* cairo() const { return cr_; }

    void fillRect(const Rect& rect, const Color& color);
    void strokeRect(const Rect& rect, const Color& color, double lineWidth = 1);
    void fillRoundedRect(const Rect& rect, double radius, const Color& color);
    void strokeRoundedRect(const Rect& rect, double radius, const Color& color, double lineWidth = 1);
    void fillCircle(Point center, double radius, const Color& color);
    void drawLine(Point from, Point to, const Color& color, double lineWidth = 1);
    void drawText(const Rect& rect, std::string_view text, const Font& font, const Color& color,
                  TextAlignment alignment = TextAlignment::Left,
                  LineBreakMode mode = LineBreakMode::TailTruncation, int numberOfLines = 1);
    // Stretches the picture over `rect`; a picture without pixels is drawn as a
    // tinted box carrying its name.
    void drawImage(const ImageAsset& image, const Rect& rect);

private:
    void roundedPath(const Rect& rect, double radius);
    void setColor(const Color& color);

    _cairo* cr_;
};

}  // namespace zorlet
