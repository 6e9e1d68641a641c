#pragma once

#include "platform/Image.h"
#include "ui/Geometry.h"

#include <memory>
#include <string>

namespace zorlet {

class ImageAsset;
using ImageAssetPtr = std::shared_ptr<const ImageAsset>;

// A picture as screens refer to it: the decoded pixels, and the resource name
// it was asked for. A named resource without a file keeps only its name and a
// stand-in size, so screens still lay out and the renderer draws a labelled
// placeholder where the picture belongs.
class ImageAsset {
public:
    static constexpr double kStandInSide = 30;

    // "sex_2_link.png" or "sex_2_link": looked up under resources/images, "@2x"
    // variants first. Loaded once and shared.
    static ImageAssetPtr named(const std::string& name);
    static ImageAssetPtr fromImage(ImagePtr image, std::string name = {});
    // Overrides where named resources are looked up (the default is the build's resource folder).
    static void setResourceDirectory(std::string directory);
    static void clearCache();

    ImageAsset(std::string name, ImagePtr image);

    const std::string& name() const { return name_; }
    const ImagePtr& image() const { return image_; }
    bool hasPixels() const { return image_ != nullptr; }
    Size size() const;

private:
    std::string name_;
    ImagePtr image_;
};

}  // namespace zorlet
