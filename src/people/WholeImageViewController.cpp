#include "people/WholeImageViewController.h"

#include "model/ImageHelpers.h"
#include "platform/WeakSelf.h"
#include "ui/GestureRecognizer.h"

#include <algorithm>
#include <cmath>

namespace zorlet {

WholeImageViewController::~WholeImageViewController() {
    if (load_ != 0) {
        WebImageLoader::shared().cancel(load_);
    }
}

Size WholeImageViewController::displaySize(const Image& picture) {
    double width = picture.pixelWidth();
    double height = picture.pixelHeight();
    double maxWidth = 2 * kScreenWidth;
    double maxHeight = 2 * (kScreenHeight - kStatusBarHeight);
    if (width > maxWidth || height > maxHeight) {
        double ratio = std::min(maxWidth / width, maxHeight / height);
        width = std::floor(width * ratio);
        height = std::floor(height * ratio);
    }
    return Size{std::floor(width / 2), std::floor(height / 2)};
}

void WholeImageViewController::viewDidLoad() {
    view().setId("WholeImageViewController");
    view().setBackgroundColor(Color{0, 0, 0, 0.85});
    imageView = std::make_shared<ImageView>(view().bounds());
    imageView->setId("wholeImageView");
    imageView->setUserInteractionEnabled(true);
    view().addSubview(imageView);
    spinner = std::make_shared<ActivityIndicatorView>();
    spinner->setId("spinner");
    spinner->setCenter(view().center());
    spinner->setHidesWhenStopped(true);
    view().addSubview(spinner);
    spinner->startAnimating();

    auto weak = weakSelf(this);
    view().addGestureRecognizer(GestureRecognizer::tap([weak](GestureRecognizer&) {
        auto self = weak.lock();
        if (self && self->delegate != nullptr) {
            self->delegate->cancelButtonClicked(*self);
        }
    }));

    if (image) {
        show(image);
    }
    if (imageUrl.empty()) {
        spinner->stopAnimating();
        return;
    }
    load_ = WebImageLoader::shared().downloadWithURL(
        imageUrl,
        [weak](const ImagePtr& picture) {
            if (auto self = weak.lock()) {
                self->load_ = 0;
                self->show(picture);
                self->spinner->stopAnimating();
            }
        },
        [weak](const std::string&) {
            if (auto self = weak.lock()) {
                self->load_ = 0;
                self->spinner->stopAnimating();
            }
        });
}

void WholeImageViewController::show(const ImagePtr& picture) {
    if (!picture) {
        return;
    }
    Size size = displaySize(*picture);
    ImagePtr shown = picture;
    if (size.width * 2 < picture->pixelWidth()) {
        if (auto scaled = imageByScalingAndCroppingForSize(*picture, size.width * 2, size.height * 2)) {
            shown = scaled;
        }
    }
    imageView->setImage(ImageAsset::fromImage(shown));
    Rect bounds = view().bounds();
    imageView->setFrame(Rect(std::floor((bounds.width() - size.width) / 2),
                             std::floor((bounds.height() - size.height) / 2), size.width, size.height));
}

}  // namespace zorlet
