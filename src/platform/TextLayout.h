#pragma once

#include "platform/TextMeasureCache.h"

#include <map>
#include <mutex>
#include <string>
#include <string_view>

struct _cairo;
struct _PangoFontMap;
struct _PangoContext;
struct _PangoLayout;

namespace zorlet {

// A font as the screens name it: a size in points and a weight. Every font is
// the Noto CJK face, so Chinese and Latin text share one set of metrics.
struct Font {
    double pointSize = 17;
    bool bold = false;

    static Font systemFont(double size) { return Font{size, false}; }
    static Font boldSystemFont(double size) { return Font{size, true}; }
    bool operator==(const Font&) const = default;
};

// How text that does not fit on one line is broken. The truncating modes wrap
// by words like WordWrap and put the ellipsis on the last line shown.
enum class LineBreakMode { WordWrap, CharacterWrap, Clip, HeadTruncation, TailTruncation, MiddleTruncation };

enum class TextAlignment { Left, Center, Right };

// Text measurement and drawing on Pango with the Noto Sans CJK SC font. Sizes
// are in points and are rounded up to whole points, as the phone framework
// reports them. Thread-safe: one lock serialises all use of the font map.
class TextLayout {
public:
    struct Measurement {
        double width = 0;
        double height = 0;
        int lineCount = 0;
    };

    static constexpr const char* kFontFamily = "Noto Sans CJK SC";

    static TextLayout& shared();

    TextLayout();
    ~TextLayout();
    TextLayout(const TextLayout&) = delete;
    TextLayout& operator=(const TextLayout&) = delete;

    // The size of `text` within `maxWidth` (0 or less: one unbounded line per
    // paragraph), keeping only the whole lines that fit in `maxHeight` (0 or
    // less: no limit) and at most `maxLines` lines (0: no limit). At least one
    // line is kept whenever the text is not empty.
    Measurement measure(std::string_view text, const Font& font, double maxWidth, double maxHeight = 0,
                        LineBreakMode mode = LineBreakMode::WordWrap, int maxLines = 0);

    // Forgets the remembered sizes (tests that swap fonts; memory warnings).
    void clearCache();

    // The height of one line of text in `font`.
    double lineHeight(const Font& font);

    // Draws `text` into the box (x, y, width, height) of `cr` with the current
    // source colour, wrapping and truncating as `measure` lays it out.
    void draw(_cairo* cr, double x, double y, double width, double height, std::string_view text,
              const Font& font, TextAlignment alignment, LineBreakMode mode, int maxLines);

private:
    _PangoLayout* createLayout(_PangoContext* context, std::string_view text, const Font& font,
                               double maxWidth, LineBreakMode mode);
    int linesFitting(_PangoLayout* layout, double maxHeight, int maxLines, double* height, double* width);

    std::mutex mutex_;
    TextMeasureCache measured_;
    std::map<std::pair<double, bool>, double> lineHeights_;
    _PangoFontMap* fontMap_ = nullptr;
    _PangoContext* context_ = nullptr;
};

}  // namespace zorlet
