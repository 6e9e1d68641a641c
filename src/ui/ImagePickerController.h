#pragma once

#include "platform/Image.h"
#include "platform/Result.h"
#include "ui/ViewController.h"

#include <memory>
#include <string>

namespace zorlet {

class ImagePickerController;

class ImagePickerControllerDelegate {
public:
    virtual ~ImagePickerControllerDelegate() = default;
    // `edited` is the picture as the editing step gives it (the original when editing is off).
    virtual void imagePickerDidFinishPicking(ImagePickerController& picker, const ImagePtr& original,
                                             const ImagePtr& edited) = 0;
    virtual void imagePickerDidCancel(ImagePickerController& picker) {}
};

// The photo picker: a screen presented modally on the camera or the photo
// library. The user (a front-end, a flow or a test) hands it a picture, or
// gives up; it tells its delegate, which dismisses it. The device has no
// camera unless a front-end or a test says so.
class ImagePickerController : public ViewController {
public:
    enum class SourceType { PhotoLibrary, Camera, SavedPhotosAlbum };

    ~ImagePickerController() override;
    std::string className() const override { return "ImagePickerController"; }

    // The photo library is always there; the camera only when the device has one.
    static bool isSourceTypeAvailable(SourceType type);
    static void setCameraAvailable(bool available);

    SourceType sourceType() const { return sourceType_; }
    // A source the device lacks falls back to the photo library.
    void setSourceType(SourceType type);
    bool allowsEditing() const { return allowsEditing_; }
    void setAllowsEditing(bool allows) { allowsEditing_ = allows; }
    // Not owned.
    ImagePickerControllerDelegate* delegate() const { return delegate_; }
    void setDelegate(ImagePickerControllerDelegate* delegate) { delegate_ = delegate; }

    // The user's choice: refused for an empty picture or when nobody listens.
    Status pick(const ImagePtr& image);
    // The picture in a file (a flow's or a dropped file); refused when it is not one.
    Status pickImage(const std::string& path);
    // The user gave up: the delegate hears it; without a delegate the picker closes itself.
    void cancel();

    // The picker on screen, if any (front-ends and flows deliver to it).
    static ImagePickerController* visiblePicker();
    // What the editing step gives: the largest centred square.
    static ImagePtr editedImage(const Image& image);
    // Test support: no camera.
    static void reset();

    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

private:
    SourceType sourceType_ = SourceType::PhotoLibrary;
    bool allowsEditing_ = false;
    ImagePickerControllerDelegate* delegate_ = nullptr;
};

}  // namespace zorlet
