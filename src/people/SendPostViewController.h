#pragma once

#include "model/Post.h"
#include "people/PostService.h"
#include "platform/Image.h"
#include "platform/MainLoop.h"
#include "ui/ActionSheet.h"
#include "ui/AlertView.h"
#include "ui/Button.h"
#include "ui/DatePicker.h"
#include "ui/ImagePickerController.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/PickerView.h"
#include "ui/TextField.h"
#include "ui/ViewController.h"
#include "widgets/CustomActionSheetDelegate.h"
#include "widgets/CustomTextView.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace zorlet {

class CustomActionSheet;

// The composer: what I want to do, with an optional category, date, place
// and picture. Publishes a new post, or edits `post` when the opener set one.
class SendPostViewController : public ViewController,
                               public CustomTextViewDelegate,
                               public CustomActionSheetDelegate,
                               public PickerViewDataSource,
                               public PickerViewDelegate,
                               public AlertViewDelegate,
                               public ActionSheetDelegate,
                               public ImagePickerControllerDelegate {
public:
    static constexpr std::size_t kMaxLength = 160;
    static constexpr std::size_t kMinLength = 3;
    static constexpr std::size_t kMaxPlaceLength = 100;
    static constexpr const char* kLengthMessage = "发布内容请控制在2~80字以内";
    static constexpr const char* kPlaceLengthMessage = "地点字数控制在50字以内";
    static constexpr int kCategorySheetTag = 0;
    static constexpr int kTimeSheetTag = 1;
    static constexpr int kPlaceAlertTag = 1;
    static constexpr int kCloseAlertTag = 2;
    static constexpr Duration kFocusDelay{200};
    static constexpr Duration kAfterSendDelay{2000};
    static constexpr double kBarHeight = 44;

    explicit SendPostViewController(PostPtr post = nullptr) : post(std::move(post)) {}
    ~SendPostViewController() override;
    std::string className() const override { return "SendPostViewController"; }

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    bool isEditingPost() const { return post != nullptr; }

    // Actions.
    void sendPost();
    void close();
    void doClose();
    void categoryButtonClick();
    void timeButtonClick();
    void placeButtonClick();
    void imageButtonClick();

    // The remaining allowance in characters for `text`, and whether it is over the limit.
    static int remainingCharacters(const std::string& text);
    void updateRemainLength();

    // CustomTextViewDelegate
    bool textViewShouldChangeText(TextView&, TextRange range, const std::string& replacement) override;
    void textViewDidChange(TextView&) override;
    // CustomActionSheetDelegate
    void done(CustomActionSheet& sheet) override;
    void docancel(CustomActionSheet& sheet) override;
    // Picker
    int numberOfComponents(PickerView&) override { return 1; }
    int numberOfRows(PickerView&, int component) override;
    std::string titleForRow(PickerView&, int row, int component) override;
    // AlertViewDelegate (place dialog, close confirmation)
    void alertViewClickedButton(AlertView& alertView, int index) override;
    // ActionSheetDelegate (picture chooser)
    void actionSheetClickedButton(ActionSheet& sheet, int index) override;
    // ImagePickerControllerDelegate
    void imagePickerDidFinishPicking(ImagePickerController& picker, const ImagePtr& original,
                                     const ImagePtr& edited) override;
    void imagePickerDidCancel(ImagePickerController& picker) override;

    PostPtr post;
    std::shared_ptr<CustomTextView> textView;
    std::shared_ptr<Label> remainLengthLabel;
    std::int64_t categoryId = 0;
    std::shared_ptr<PickerView> categoryPicker;
    std::optional<std::string> time;
    std::shared_ptr<DatePicker> datePicker;
    std::optional<std::string> place;
    std::shared_ptr<TextField> placeField;
    std::string lastPlaceErrorInput;
    ImagePtr image;
    std::string pic;
    std::shared_ptr<ImageView> imageView;
    PostServicePtr postService;
    std::shared_ptr<View> infoBar;
    std::shared_ptr<Button> categoryButton;
    std::shared_ptr<Button> timeButton;
    std::shared_ptr<Button> placeButton;
    std::shared_ptr<Button> imageButton;

private:
    std::shared_ptr<Button> makeChooserButton(const std::string& id, const std::string& stem, double x,
                                              void (SendPostViewController::*action)());
    // Switches a chooser button between its unset and set pictures.
    void markButton(Button& button, bool set);
    bool isButtonSet(const Button& button) const;
    PickerView& ensureCategoryPicker();
    DatePicker& ensureDatePicker();
    void showPicture(const ImagePtr& picture);
    void clearPicture();
    void openImagePicker(ImagePickerController::SourceType source);
    void keyboardWillShow(const Rect& keyboardFrame);
    void keyboardWillHide();

    double textViewBottomAtRest_ = 0;
    TimerId focusTimer_ = 0;
    TimerId afterSendTimer_ = 0;
};

}  // namespace zorlet
