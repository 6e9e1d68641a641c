#pragma once

#include "platform/Image.h"
#include "platform/WebImageLoader.h"
#include "ui/ActivityIndicatorView.h"
#include "ui/ImageView.h"
#include "ui/ViewController.h"

#include <memory>
#include <string>

namespace zorlet {

class WholeImageViewController;

class WholeImageViewDelegate {
public:
    virtual ~WholeImageViewDelegate() = default;
    virtual void cancelButtonClicked(WholeImageViewController&) {}
};

// One picture at full size, shown as a popup: the picture at hand at once,
// then the full one from `imageUrl` once it has arrived.
class WholeImageViewController : public ViewController {
public:
    ~WholeImageViewController() override;
    std::string className() const override { return "WholeImageViewController"; }

    void viewDidLoad() override;

    // The picture's size in points for the screen: half its pixels, after
    // scaling a picture larger than twice the screen down to fit it.
    static Size displaySize(const Image& image);

    ImagePtr image;
    std::string imageUrl;
    // Not owned.
    WholeImageViewDelegate* delegate = nullptr;

    std::shared_ptr<ImageView> imageView;
    std::shared_ptr<ActivityIndicatorView> spinner;

private:
    void show(const ImagePtr& picture);

    WebImageLoader::LoadId load_ = 0;
};

}  // namespace zorlet
