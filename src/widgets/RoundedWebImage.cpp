#include "widgets/RoundedWebImage.h"

#include "model/ImageHelpers.h"
#include "platform/WeakSelf.h"
#include "ui/ImageView.h"
#include "ui/ImageViewWebCache.h"

namespace zorlet {

void RoundedWebImage::load(ImageView& view, const std::string& url, const std::string& placeholder) {
    ImageViewWebCache::cancelCurrentImageLoad(view);
    auto weak = weakSelf(&view);
    ImageViewWebCache::setImageWithURL(view, url, placeholder, [weak](const ImagePtr& image) {
        auto alive = weak.lock();
        if (!alive || !image) {
            return;
        }
        Size size = alive->frame().size;
        auto cropped = imageByScalingAndCroppingForSize(*image, size.width * 2, size.height * 2);
        auto rounded = cropped ? createRoundedRectImage(*cropped, kCornerRadius) : nullptr;
        if (rounded) {
            alive->setImage(ImageAsset::fromImage(rounded));
        }
    });
}

}  // namespace zorlet
