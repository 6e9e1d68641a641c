#pragma once

#include "ui/View.h"

namespace zorlet {

// Shows one picture stretched over its bounds (or a highlighted one while highlighted).
class ImageView : public View {
public:
    ImageView();
    explicit ImageView(ImageAssetPtr image);  // sized to the picture
    explicit ImageView(Rect frame);
    const char* typeName() const override { return "ImageView"; }

    const ImageAssetPtr& image() const { return image_; }
    void setImage(ImageAssetPtr image) { image_ = std::move(image); }
    const ImageAssetPtr& highlightedImage() const { return highlightedImage_; }
    void setHighlightedImage(ImageAssetPtr image) { highlightedImage_ = std::move(image); }
    bool isHighlighted() const { return highlighted_; }
    void setHighlighted(bool highlighted) { highlighted_ = highlighted; }

    Size sizeThatFits(Size limit) const override;
    void draw(Painter& painter) const override;
    void describe(std::string& out) const override;

private:
    ImageAssetPtr image_;
    ImageAssetPtr highlightedImage_;
    bool highlighted_ = false;
};

}  // namespace zorlet
