#pragma once

#include "model/ExternalPost.h"
#include "people/PostService.h"
#include "platform/MainLoop.h"
#include "ui/AlertView.h"
#include "ui/Button.h"
#include "ui/DatePicker.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/ViewController.h"
#include "widgets/CustomActionSheetDelegate.h"
#include "widgets/CustomTextView.h"

#include <memory>
#include <optional>
#include <string>

namespace zorlet {

class ProgressHUD;

// Shares a place as a post: "I want company to go to <place>", with its
// address, page and photo, an optional day and a short comment. After
// publishing, the users who might come along are shown.
class SendExternalPostViewController : public ViewController,
                                       public CustomTextViewDelegate,
                                       public CustomActionSheetDelegate,
                                       public AlertViewDelegate {
public:
    static constexpr const char* kTitle = "发布Zorlet";
    static constexpr const char* kNoDayText = "选择一天";
    static constexpr double kMaxPlaceHeight = 200;
    static constexpr Duration kAfterSendDelay{2000};

    ~SendExternalPostViewController() override;
    std::string className() const override { return "SendExternalPostViewController"; }

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    void openDate();
    void backgroundTap();
    void close();
    void doClose();
    void sendExternalPost();
    void goRescue(const std::string& content);

    // The comment as typed.
    std::string comment() const;

    // CustomActionSheetDelegate (the day sheet)
    void done(CustomActionSheet& sheet) override;
    void docancel(CustomActionSheet& sheet) override;
    // CustomTextViewDelegate
    bool textViewShouldChangeText(TextView&, TextRange range, const std::string& replacement) override;
    // AlertViewDelegate (leaving with a comment typed)
    void alertViewClickedButton(AlertView& alertView, int index) override;

    ExternalPostPtr externalPost;
    std::string realUrl;
    std::optional<std::string> time;
    std::shared_ptr<DatePicker> datePicker;
    PostServicePtr postService;

    std::shared_ptr<Label> contentLabel1;
    std::shared_ptr<ImageView> photoImageView;
    std::shared_ptr<CustomTextView> textView;
    std::shared_ptr<View> placeInfoView;
    std::shared_ptr<ImageView> placeIconView;
    std::shared_ptr<Label> placeLabel;
    std::shared_ptr<View> placeLine;
    std::shared_ptr<View> timeInfoView;
    std::shared_ptr<ImageView> timeIconView;
    std::shared_ptr<Label> timeLabel;
    std::shared_ptr<ImageView> basicInfoBgView;
    std::shared_ptr<Button> bigButton;

private:
    void loadPhoto();
    void layoutInfo();
    DatePicker& ensureDatePicker();

    std::shared_ptr<ProgressHUD> photoHud_;
    TimerId afterSendTimer_ = 0;
};

}  // namespace zorlet
