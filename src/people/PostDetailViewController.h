#pragma once

#include "messaging/GrowingTextView.h"
#include "model/User.h"
#include "ui/ActionSheet.h"
#include "ui/AlertView.h"
#include "ui/Button.h"
#include "ui/GestureRecognizer.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/NotificationCenter.h"
#include "ui/ScrollView.h"
#include "ui/ViewController.h"
#include "widgets/CustomTextViewDelegate.h"

#include <cstddef>
#include <memory>
#include <optional>
#include <string>

namespace zorlet {

class UserPostViewController;
class PopupPresenter;
class WholeImageViewController;

// One post with its author. Others can respond and leave the author a short
// message; the author can edit or delete it.
class PostDetailViewController : public ViewController,
                                 public CustomTextViewDelegate,
                                 public ActionSheetDelegate,
                                 public AlertViewDelegate {
public:
    // In chineseLength units: 100 characters.
    static constexpr std::size_t kMaxCommentLength = 200;
    static constexpr double kBarHeight = 44;

    PostDetailViewController();
    ~PostDetailViewController() override;
    std::string className() const override { return "PostDetailViewController"; }

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    // Actions.
    void goToUserHome();
    void respPost();
    void goRespUsers();
    void goIdea();
    void sendComment();
    void openEditor();
    void showWholeImage();

    // Lays the post's parts out top to bottom; hidden parts take no room.
    void resetViewFrame();

    // The return key sends the message.
    bool textViewShouldChangeText(TextView&, TextRange range, const std::string& replacement) override;
    void textViewDidChangeHeight(TextView&, double difference) override;
    void actionSheetClickedButton(ActionSheet& sheet, int index) override;
    void alertViewClickedButton(AlertView& alertView, int index) override;

    // The author; `user->post` is the shown post. Set by the opener.
    UserPtr user;
    bool startComment = false;
    // Set when opened from a user's post list, which is told of a deletion.
    std::optional<std::size_t> index;
    std::weak_ptr<UserPostViewController> userPostViewController;
    bool isMe = false;

    std::shared_ptr<ImageView> logoView;
    std::shared_ptr<Label> nicknameLabel;
    std::shared_ptr<Label> userInfoLabel;
    std::shared_ptr<ImageView> locationIcon;
    std::shared_ptr<ScrollView> postScrollView;
    std::shared_ptr<Label> contentLabel;
    std::shared_ptr<ImageView> postImageView;
    std::shared_ptr<Button> moreButton;
    std::shared_ptr<View> firstLine;
    std::shared_ptr<View> interestView;
    std::shared_ptr<Label> interestNumLabel;
    std::shared_ptr<Label> interestLabel;
    std::shared_ptr<View> placeView;
    std::shared_ptr<Label> placeLabel;
    std::shared_ptr<View> placeLine;
    std::shared_ptr<View> timeView;
    std::shared_ptr<Label> timeLabel;
    std::shared_ptr<View> buttonView;
    std::shared_ptr<ImageView> buttonBgImageView;
    std::shared_ptr<Button> responseButton;
    std::shared_ptr<GrowingTextView> textView;

private:
    void buildHeader();
    void buildPost();
    void buildBottomBar();
    void showPost();
    void showPicture();
    void keyboardWillShow(const Notification& notification);
    void keyboardWillHide(const Notification& notification);
    void deletePost();
    View* navigationView();

    std::string shownPictureUrl_;
    GestureRecognizerPtr dismissTap_;
    GestureRecognizerPtr dismissPan_;
    std::unique_ptr<PopupPresenter> popup_;
    std::shared_ptr<WholeImageViewController> wholeImage_;
};

}  // namespace zorlet
