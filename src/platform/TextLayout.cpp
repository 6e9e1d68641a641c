#include "platform/TextLayout.h"

#include <pango/pangocairo.h>

#include <algorithm>
#include <cmath>

namespace zorlet {

namespace {

double toPoints(int pangoUnits) {
    return static_cast<double>(pangoUnits) / PANGO_SCALE;
}

// Sizes are whole points; the tiny tolerance keeps exact integers from rounding up.
double roundUp(double points) {
    return std::ceil(points - 1e-6);
}

PangoEllipsizeMode ellipsizeFor(LineBreakMode mode) {
    switch (mode) {
        case LineBreakMode::HeadTruncation:
            return PANGO_ELLIPSIZE_START;
        case LineBreakMode::TailTruncation:
            return PANGO_ELLIPSIZE_END;
        case LineBreakMode::MiddleTruncation:
            return PANGO_ELLIPSIZE_MIDDLE;
        default:
            return PANGO_ELLIPSIZE_NONE;
    }
}

}  // namespace

TextLayout& TextLayout::shared() {
    static TextLayout layout;
    return layout;
}

TextLayout::TextLayout() {
    fontMap_ = pango_cairo_font_map_new();
    context_ = pango_font_map_create_context(fontMap_);
    // Metrics are hinted so that line heights are whole points and the same
    // layout is drawn at any scale; outlines are not hinted for the same reason.
    cairo_font_options_t* options = cairo_font_options_create();
    cairo_font_options_set_hint_metrics(options, CAIRO_HINT_METRICS_ON);
    cairo_font_options_set_hint_style(options, CAIRO_HINT_STYLE_NONE);
    cairo_font_options_set_antialias(options, CAIRO_ANTIALIAS_GRAY);
    pango_cairo_context_set_font_options(context_, options);
    cairo_font_options_destroy(options);
    pango_context_set_language(context_, pango_language_from_string("zh-cn"));
}

TextLayout::~TextLayout() {
    g_object_unref(context_);
    g_object_unref(fontMap_);
}

PangoLayout* TextLayout::createLayout(PangoContext* context, std::string_view text, const Font& font,
                                      double maxWidth, LineBreakMode mode) {
    PangoLayout* layout = pango_layout_new(context);
    PangoFontDescription* description = pango_font_description_new();
    pango_font_description_set_family(description, kFontFamily);
    pango_font_description_set_absolute_size(description, std::max(1.0, font.pointSize) * PANGO_SCALE);
    pango_font_description_set_weight(description, font.bold ? PANGO_WEIGHT_BOLD : PANGO_WEIGHT_NORMAL);
    pango_layout_set_font_description(layout, description);
    pango_font_description_free(description);
    // Pango rejects invalid UTF-8; such text is laid out up to its first bad byte.
    const char* end = nullptr;
    g_utf8_validate(text.data(), static_cast<gssize>(text.size()), &end);
    pango_layout_set_text(layout, text.data(), static_cast<int>(end - text.data()));
    if (maxWidth > 0) {
        pango_layout_set_width(layout, static_cast<int>(maxWidth * PANGO_SCALE));
        pango_layout_set_wrap(layout,
                              mode == LineBreakMode::CharacterWrap ? PANGO_WRAP_CHAR : PANGO_WRAP_WORD_CHAR);
    }
    return layout;
}

int TextLayout::linesFitting(PangoLayout* layout, double maxHeight, int maxLines, double* height,
                             double* width) {
    int total = pango_layout_get_line_count(layout);
    int limit = maxLines > 0 ? std::min(total, maxLines) : total;
    int usedHeight = 0;
    int usedWidth = 0;
    int lines = 0;
    for (int i = 0; i < limit; ++i) {
        PangoRectangle logical;
        pango_layout_line_get_extents(pango_layout_get_line_readonly(layout, i), nullptr, &logical);
        if (lines > 0 && maxHeight > 0 && toPoints(usedHeight + logical.height) > maxHeight + 1e-6) {
            break;
        }
        usedHeight += logical.height;
        usedWidth = std::max(usedWidth, logical.width);
        ++lines;
    }
    *height = toPoints(usedHeight);
    *width = toPoints(usedWidth);
    return lines;
}

TextLayout::Measurement TextLayout::measure(std::string_view text, const Font& font, double maxWidth,
                                            double maxHeight, LineBreakMode mode, int maxLines) {
    Measurement result;
    if (text.empty()) {
        return result;
    }
    std::string key = TextMeasureCache::keyFor(text, font.pointSize, font.bold, maxWidth, maxHeight,
                                               static_cast<int>(mode), maxLines);
    std::lock_guard lock(mutex_);
    if (auto known = measured_.find(key)) {
        return Measurement{known->width, known->height, known->lineCount};
    }
    PangoLayout* layout = createLayout(context_, text, font, maxWidth, mode);
    double height = 0;
    double width = 0;
    result.lineCount = linesFitting(layout, maxHeight, maxLines, &height, &width);
    g_object_unref(layout);
    result.width = roundUp(width);
    if (maxWidth > 0) {
        result.width = std::min(result.width, roundUp(maxWidth));
    }
    result.height = roundUp(height);
    measured_.store(std::move(key), {result.width, result.height, result.lineCount});
    return result;
}

void TextLayout::clearCache() {
    std::lock_guard lock(mutex_);
    measured_.clear();
    lineHeights_.clear();
}

double TextLayout::lineHeight(const Font& font) {
    std::lock_guard lock(mutex_);
    auto known = lineHeights_.find({font.pointSize, font.bold});
    if (known != lineHeights_.end()) {
        return known->second;
    }
    PangoLayout* layout = createLayout(context_, "\xE4\xB8\xAD", font, 0, LineBreakMode::WordWrap);  // 中
    PangoRectangle logical;
    pango_layout_line_get_extents(pango_layout_get_line_readonly(layout, 0), nullptr, &logical);
    g_object_unref(layout);
    double height = roundUp(toPoints(logical.height));
    lineHeights_.emplace(std::make_pair(font.pointSize, font.bold), height);
    return height;
}

void TextLayout::draw(cairo_t* cr, double x, double y, double width, double height, std::string_view text,
                      const Font& font, TextAlignment alignment, LineBreakMode mode, int maxLines) {
    if (text.empty() || width <= 0) {
        return;
    }
    std::lock_guard lock(mutex_);
    PangoLayout* layout = createLayout(context_, text, font, width, mode);
    switch (alignment) {
        case TextAlignment::Left:
            pango_layout_set_alignment(layout, PANGO_ALIGN_LEFT);
            break;
        case TextAlignment::Center:
            pango_layout_set_alignment(layout, PANGO_ALIGN_CENTER);
            break;
        case TextAlignment::Right:
            pango_layout_set_alignment(layout, PANGO_ALIGN_RIGHT);
            break;
    }
    double textHeight = 0;
    double textWidth = 0;
    int lines = linesFitting(layout, height, maxLines, &textHeight, &textWidth);
    PangoEllipsizeMode ellipsize = ellipsizeFor(mode);
    if (ellipsize != PANGO_ELLIPSIZE_NONE && lines > 0) {
        pango_layout_set_ellipsize(layout, ellipsize);
        pango_layout_set_height(layout, -lines);
    }
    // Labels centre their text vertically, as the phone framework's do.
    double top = y + std::max(0.0, (height - textHeight) / 2);
    cairo_save(cr);
    cairo_rectangle(cr, x, top, width, textHeight);
    cairo_clip(cr);
    cairo_move_to(cr, x, top);
    pango_cairo_show_layout(cr, layout);
    cairo_restore(cr);
    g_object_unref(layout);
}

}  // namespace zorlet
