#pragma once

#include "platform/Image.h"
#include "platform/SvgRasterizer.h"
#include "ui/Geometry.h"

#include <memory>
#include <string>

namespace zorlet {

class ImageAsset;
using ImageAssetPtr = std::shared_ptr<const ImageAsset>;

// A picture as screens refer to it: its pixels (or the SVG document they are
// drawn from, at whatever scale the screen has), the resource name it was
// asked for and, for a stretchable picture, its caps. A named resource without
// a file keeps only its name and a stand-in size, so screens still lay out;
// the renderer then draws a labelled box, and MissingImageRegistry notes the name.
class ImageAsset {
public:
    static constexpr double kStandInSide = 30;
    // The scale `image()` gives pixels at, that of the phones the app is made for.
    static constexpr double kDefaultScale = 2;

    // "sex_2_link.png" or "sex_2_link": looked up under resources/images as
    // .svg first, then the "@2x" and plain PNG or JPEG. Loaded once and shared.
    static ImageAssetPtr named(const std::string& name);
    // A named picture stretched over larger boxes the way the phone framework
    // does: `leftCap` points on the left and `topCap` on top stay as drawn, as
    // does all but one point on the right and bottom; that one point column
    // (row) stretches. A cap of 0 stretches the whole picture in that direction.
    static ImageAssetPtr stretchable(const std::string& name, double leftCap, double topCap);
    static ImageAssetPtr fromImage(ImagePtr image, std::string name = {});
    // Overrides where named resources are looked up (the default is the build's resource folder).
    static void setResourceDirectory(std::string directory);
    static void clearCache();

    ImageAsset(std::string name, ImagePtr image);
    ImageAsset(std::string name, SvgRasterizerPtr vector);

    const std::string& name() const { return name_; }
    // Pixels at kDefaultScale (or as decoded, for a PNG or JPEG).
    ImagePtr image() const { return rendition(kDefaultScale); }
    // Pixels for drawing at `scale` pixels per point: an SVG is rasterised at
    // that scale (and cached), a decoded picture is what it is.
    ImagePtr rendition(double scale) const;
    bool hasPixels() const { return image_ != nullptr || vector_ != nullptr; }
    bool isVector() const { return vector_ != nullptr; }
    Size size() const;

    double leftCap() const { return leftCap_; }
    double topCap() const { return topCap_; }
    bool isStretchable() const { return leftCap_ > 0 || topCap_ > 0; }
    ImageAssetPtr withCaps(double leftCap, double topCap) const;

private:
    std::string name_;
    ImagePtr image_;
    SvgRasterizerPtr vector_;
    double leftCap_ = 0;
    double topCap_ = 0;
};

}  // namespace zorlet
