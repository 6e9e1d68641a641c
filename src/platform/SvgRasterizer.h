#pragma once

#include "platform/Image.h"

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <string_view>

struct _RsvgHandle;

namespace zorlet {

class SvgRasterizer;
using SvgRasterizerPtr = std::shared_ptr<const SvgRasterizer>;

// One SVG document, parsed once by librsvg and turned into pixels at whatever
// scale a screen draws it. The document's own width and height are its size in
// points; each scale is rasterised once and kept.
class SvgRasterizer {
public:
    struct Loaded {
        SvgRasterizerPtr rasterizer;
        std::string error;  // why there is no rasterizer
    };

    static Loaded fromFile(const std::string& path);
    static Loaded fromData(std::string_view bytes);

    explicit SvgRasterizer(_RsvgHandle* handle, double width, double height);
    ~SvgRasterizer();
    SvgRasterizer(const SvgRasterizer&) = delete;
    SvgRasterizer& operator=(const SvgRasterizer&) = delete;

    double width() const { return width_; }    // points
    double height() const { return height_; }  // points
    // The document at `scale` pixels per point; nothing for a scale that is not
    // positive or a document librsvg cannot draw.
    ImagePtr rasterize(double scale) const;

private:
    ImagePtr draw(double scale) const;

    _RsvgHandle* handle_;  // owned; librsvg handles are not thread safe, so drawing holds mutex_
    double width_;
    double height_;
    mutable std::mutex mutex_;
    mutable std::map<double, ImagePtr> renditions_;
};

}  // namespace zorlet
