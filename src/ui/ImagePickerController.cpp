#include "ui/ImagePickerController.h"

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

ImagePickerController* ImagePickerController::visiblePicker() {
    return shownPicker;
}

void ImagePickerController::viewDidAppear(bool) {
    shownPicker = this;
}

void ImagePickerController::viewWillDisappear(bool) {
    if (shownPicker == this) {
        shownPicker = nullptr;
    }
}

bool ImagePickerController::pick(const ImagePtr& image) {
    if (delegate_ == nullptr || !image) {
        return false;
    }
    // Editing crops to the user's square; the model keeps the whole picture for both.
    delegate_->imagePickerDidFinishPicking(*this, image, image);
    return true;
}

bool ImagePickerController::cancel() {
    if (delegate_ == nullptr) {
        return false;
    }
    delegate_->imagePickerDidCancel(*this);
    return true;
}

}  // namespace zorlet
