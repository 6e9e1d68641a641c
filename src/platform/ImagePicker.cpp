#include "platform/ImagePicker.h"

#include <algorithm>
#include <cstring>

namespace zorlet {

namespace {

struct PickerState {
    std::shared_ptr<ImagePicker> waiting;
    bool cameraAvailable = false;
};

PickerState& state() {
    static PickerState shared;
    return shared;
}

}  // namespace

std::shared_ptr<ImagePicker> ImagePicker::create() {
    return std::shared_ptr<ImagePicker>(new ImagePicker());
}

bool ImagePicker::isSourceTypeAvailable(SourceType type) {
    return type != SourceType::Camera || state().cameraAvailable;
}

void ImagePicker::setCameraAvailable(bool available) {
    state().cameraAvailable = available;
}

bool ImagePicker::isCameraAvailable() {
    return state().cameraAvailable;
}

void ImagePicker::setSourceType(SourceType type) {
    sourceType_ = isSourceTypeAvailable(type) ? type : SourceType::PhotoLibrary;
}

void ImagePicker::present() {
    auto& waiting = state().waiting;
    if (waiting.get() == this) {
        return;
    }
    if (auto older = waiting) {
        older->cancel();
    }
    waiting = shared_from_this();
}

bool ImagePicker::isPresented() const {
    return state().waiting.get() == this;
}

std::shared_ptr<ImagePicker> ImagePicker::presented() {
    return state().waiting;
}

void ImagePicker::dismiss() {
    if (isPresented()) {
        state().waiting.reset();
    }
}

bool ImagePicker::pickImage(const std::string& path, std::string* error) {
    auto image = Image::fromFile(path);
    if (!image) {
        if (error != nullptr) {
            *error = path + " is not a picture that can be read";
        }
        return false;
    }
    return pickImage(std::move(image), error);
}

bool ImagePicker::pickImage(ImagePtr image, std::string* error) {
    if (!isPresented()) {
        if (error != nullptr) {
            *error = "no image picker is shown";
        }
        return false;
    }
    if (!image || image->pixelWidth() <= 0 || image->pixelHeight() <= 0) {
        if (error != nullptr) {
            *error = "the picture is empty";
        }
        return false;
    }
    auto self = shared_from_this();
    dismiss();
    ImagePtr chosen = allowsEditing_ ? editedImage(*image) : std::move(image);
    if (onFinish_) {
        auto handler = onFinish_;
        handler(std::move(chosen));
    }
    return true;
}

void ImagePicker::cancel() {
    if (!isPresented()) {
        return;
    }
    auto self = shared_from_this();
    dismiss();
    if (onCancel_) {
        auto handler = onCancel_;
        handler();
    }
}

ImagePtr ImagePicker::editedImage(const Image& image) {
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

void ImagePicker::reset() {
    state().waiting.reset();
    state().cameraAvailable = false;
}

}  // namespace zorlet
