#pragma once

#include "platform/Image.h"
#include "ui/ViewController.h"

#include <functional>
#include <memory>

namespace zorlet {

class ImagePickerController;

class ImagePickerControllerDelegate {
public:
    virtual ~ImagePickerControllerDelegate() = default;
    // `edited` is the picture as the user cropped it (the original when editing is off).
    virtual void imagePickerDidFinishPicking(ImagePickerController& picker, const ImagePtr& original,
                                             const ImagePtr& edited) = 0;
    virtual void imagePickerDidCancel(ImagePickerController& picker) {}
};

// The photo picker as a model: a screen presented modally on the camera or
// the photo library. The front-end (or a test) hands it the picture the user
// took or chose, or cancels it; the delegate dismisses it.
class ImagePickerController : public ViewController {
public:
    enum class SourceType { PhotoLibrary, Camera, SavedPhotosAlbum };

    ~ImagePickerController() override;
    std::string className() const override { return "ImagePickerController"; }

    // Whether the device offers the source; a headless device has no camera unless told otherwise.
    static bool isSourceTypeAvailable(SourceType type);
    static void setCameraAvailable(bool available);

    SourceType sourceType() const { return sourceType_; }
    void setSourceType(SourceType type) { sourceType_ = type; }
    bool allowsEditing() const { return allowsEditing_; }
    void setAllowsEditing(bool allows) { allowsEditing_ = allows; }
    ImagePickerControllerDelegate* delegate() const { return delegate_; }
    void setDelegate(ImagePickerControllerDelegate* delegate) { delegate_ = delegate; }

    // The user's choice; false when nobody listens.
    bool pick(const ImagePtr& image);
    bool cancel();

    // The picker currently on screen, if any (front-ends and tests deliver to it).
    static ImagePickerController* visiblePicker();

    void viewDidAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

private:
    SourceType sourceType_ = SourceType::PhotoLibrary;
    bool allowsEditing_ = false;
    ImagePickerControllerDelegate* delegate_ = nullptr;
};

}  // namespace zorlet
