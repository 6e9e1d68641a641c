#include "ui/ImagePickerController.h"

#include "ui/Label.h"

#include <algorithm>
#include <cstring>

namespace zorlet {

namespace {
bool cameraAvailable = false;
ImagePickerController* shownPicker = nullptr;
}  // namespace

ImagePickerController::~ImagePickerController() {
    if (shownPicker == this) {
        shownPicker = nullptr;
    }
}

bool ImagePickerController::isSourceTypeAvailable(SourceType type) {
    return type != SourceType::Camera || cameraAvailable;
}

void ImagePickerController::setCameraAvailable(bool available) {
    cameraAvailable = available;
}

void ImagePickerController::setSourceType(SourceType type) {
    sourceType_ = isSourceTypeAvailable(type) ? type : SourceType::PhotoLibrary;
}

ImagePickerController* ImagePickerController::visiblePicker() {
    return shownPicker;
}

void ImagePickerController::viewDidLoad() {
    // Front-ends have no photo library to show; the screen says what it waits for.
    view().setBackgroundColor(Color::white(0.1));
    auto prompt = std::make_shared<Label>(Rect(20, 180, kScreenWidth - 40, 60));
    prompt->setText(sourceType_ == SourceType::Camera ? "拍照" : "选择照片");
    prompt->setTextColor(Color::whiteColor());
    prompt->setBackgroundColor(Color::clearColor());
    prompt->setTextAlignment(TextAlignment::Center);
    view().addSubview(prompt);
}

void ImagePickerController::viewDidAppear(bool) {
    shownPicker = this;
}

void ImagePickerController::viewWillDisappear(bool) {
    if (shownPicker == this) {
        shownPicker = nullptr;
    }
}

Status ImagePickerController::pick(const ImagePtr& image) {
    if (!image || image->pixelWidth() <= 0 || image->pixelHeight() <= 0) {
        return Failure{"the picture is empty"};
    }
    if (delegate_ == nullptr) {
        return Failure{"the image picker has nobody to hand the picture to"};
    }
    // The delegate usually dismisses the picker, dropping the presenter's hold on it mid-call.
    releaseLater(shared_from_this());
    ImagePtr edited = allowsEditing_ ? editedImage(*image) : image;
    delegate_->imagePickerDidFinishPicking(*this, image, edited);
    return {};
}

Status ImagePickerController::pickImage(const std::string& path) {
    ImagePtr image = Image::fromFile(path);
    if (!image) {
        return Failure{path + " is not a picture that can be read"};
    }
    return pick(image);
}

void ImagePickerController::cancel() {
    releaseLater(shared_from_this());
    if (delegate_ != nullptr) {
        delegate_->imagePickerDidCancel(*this);
    } else {
        dismissModalViewController(true);
    }
}

ImagePtr ImagePickerController::editedImage(const Image& image) {
    int side = std::min(image.pixelWidth(), image.pixelHeight());
    int left = (image.pixelWidth() - side) / 2;
    int top = (image.pixelHeight() - side) / 2;
    auto square = std::make_shared<Image>(side, side, image.scale());
    for (int y = 0; y < side; ++y) {
        std::memcpy(square->data() + static_cast<std::size_t>(y) * square->stride(),
                    image.data() + static_cast<std::size_t>(y + top) * image.stride() + left * 4,
                    static_cast<std::size_t>(side) * 4);
    }
    return square;
}

void ImagePickerController::reset() {
    cameraAvailable = false;
}

}  // namespace zorlet
