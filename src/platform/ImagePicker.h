#pragma once

#include "platform/Image.h"

#include <functional>
#include <memory>
#include <string>

namespace zorlet {

// The photo picker as a model: a screen asks for a picture from a source and
// is answered later, when the user (a front-end, a flow or a test) hands over
// a picture file with `pickImage`, or gives up with `cancel`. One picker waits
// at a time; presenting another cancels the one waiting. Main loop thread.
class ImagePicker : public std::enable_shared_from_this<ImagePicker> {
public:
    enum class SourceType { PhotoLibrary, Camera, SavedPhotosAlbum };
    // The picture as the user chose it (edited when editing is allowed).
    using FinishHandler = std::function<void(ImagePtr image)>;
    using CancelHandler = std::function<void()>;

    static std::shared_ptr<ImagePicker> create();

    // The photo library is always there; the camera only when the device has one.
    static bool isSourceTypeAvailable(SourceType type);
    // Whether this device has a camera; none unless a front-end says so.
    static void setCameraAvailable(bool available);
    static bool isCameraAvailable();

    SourceType sourceType() const { return sourceType_; }
    // A source the device lacks falls back to the photo library.
    void setSourceType(SourceType type);
    bool allowsEditing() const { return allowsEditing_; }
    void setAllowsEditing(bool allows) { allowsEditing_ = allows; }
    void setOnFinish(FinishHandler handler) { onFinish_ = std::move(handler); }
    void setOnCancel(CancelHandler handler) { onCancel_ = std::move(handler); }

    // Starts waiting for the user's picture.
    void present();
    bool isPresented() const;
    // The picker waiting for a picture, or none.
    static std::shared_ptr<ImagePicker> presented();

    // The user chose the picture in `path`: false (with `error`) when no picker
    // is waiting or the file is not a picture. The picker closes before the
    // finish handler runs, so the handler may present another one.
    bool pickImage(const std::string& path, std::string* error = nullptr);
    bool pickImage(ImagePtr image, std::string* error = nullptr);
    void cancel();

    // The picture the editing step gives: the largest centred square.
    static ImagePtr editedImage(const Image& image);

    // Test support: no picker waiting, no camera.
    static void reset();

private:
    ImagePicker() = default;
    void dismiss();

    SourceType sourceType_ = SourceType::PhotoLibrary;
    bool allowsEditing_ = false;
    FinishHandler onFinish_;
    CancelHandler onCancel_;
};

using ImagePickerPtr = std::shared_ptr<ImagePicker>;

}  // namespace zorlet
