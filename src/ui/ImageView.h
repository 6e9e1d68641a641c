#pragma once

#include "ui/View.h"

namespace zorlet {

// Shows one picture stretched over its bounds.
class ImageView : public View {
public:
    ImageView();
    explicit ImageView(ImageAssetPtr image);  // sized to the picture
    explicit ImageView(Rect frame);
    const char* typeName() const override { return "ImageView"; }

    const ImageAssetPtr& image() const { return image_; }
    void setImage(ImageAssetPtr image) { image_ = std::move(image); }

    Size sizeThatFits(Size limit) const override;
    void draw(Painter& painter) const override;
    void describe(std::string& out) const override;

private:
    ImageAssetPtr image_;
};

}  // namespace zorlet
