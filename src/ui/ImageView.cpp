#include "ui/ImageView.h"

#include "ui/Painter.h"
#include "ui/ViewTreeDump.h"

namespace zorlet {

ImageView::ImageView() {
    setUserInteractionEnabled(false);
}

ImageView::ImageView(ImageAssetPtr image) : image_(std::move(image)) {
    setUserInteractionEnabled(false);
    if (image_) {
        setFrame(Rect(Point{}, image_->size()));
    }
}

ImageView::ImageView(Rect frame) : View(frame) {
    setUserInteractionEnabled(false);
}

Size ImageView::sizeThatFits(Size limit) const {
    return image_ ? image_->size() : frame().size;
}

void ImageView::draw(Painter& painter) const {
    if (image_) {
        painter.drawImage(*image_, Rect(0, 0, frame().width(), frame().height()));
    }
}

void ImageView::describe(std::string& out) const {
    if (image_) {
        out += " image=" + ViewTreeDump::quoted(image_->name().empty() ? "(pixels)" : image_->name());
    }
}

}  // namespace zorlet
