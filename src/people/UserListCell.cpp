#include "people/UserListCell.h"

#include "people/GenderColors.h"
#include "people/PostDetailViewController.h"
#include "people/PostService.h"
#include "people/PrepareDateTaViewController.h"
#include "people/TaHomeViewController.h"
#include "platform/Analytics.h"
#include "platform/TextLayout.h"
#include "platform/WeakSelf.h"
#include "session/UserContext.h"
#include "ui/GestureRecognizer.h"
#include "ui/ImageViewWebCache.h"
#include "ui/NavigationController.h"
#include "ui/TableView.h"
#include "widgets/RoundedWebImage.h"

#include <algorithm>

namespace zorlet {

namespace {

constexpr double kLineY = 18;
constexpr double kLineHeight = 16;
constexpr double kLocationIconWidth = 10;
constexpr double kAvatarCornerRadius = 8;

Font smallFont() {
    return Font::systemFont(12);
}

double fittedWidth(const std::string& text, const Font& font, double maxWidth) {
    if (maxWidth <= 0) {
        return 0;
    }
    return std::min(maxWidth, TextLayout::shared().measure(text, font, 0).width);
}

}  // namespace

UserListCell::UserListCell() : TableViewCell(Style::Default, kIdentifier) {
    setId("UserListCell");
    setFrame(Rect(0, 0, kRowWidth, kHeightWithoutPost));
    setSelectionStyle(SelectionStyle::None);
    View& content = contentView();

    backgroundImageView = std::make_shared<ImageView>(ImageAsset::named("zber_item_bg.png"));
    backgroundImageView->setId("backgroundImageView");
    content.addSubview(backgroundImageView);

    logoView = std::make_shared<ImageView>(Rect(12, kLineY, 56, 56));
    logoView->setId("logoView");
    logoView->setCornerRadius(kAvatarCornerRadius);
    content.addSubview(logoView);

    onlineLabel = std::make_shared<Label>(Rect(12, kLineY + 60, 56, 14));
    onlineLabel->setId("onlineLabel");
    onlineLabel->setFont(Font::systemFont(10));
    onlineLabel->setTextAlignment(TextAlignment::Center);
    content.addSubview(onlineLabel);

    nicknameLabel = std::make_shared<Label>(Rect(kContentX, kLineY, kNicknameMaxWidth, kLineHeight));
    nicknameLabel->setId("nicknameLabel");
    nicknameLabel->setFont(smallFont());
    nicknameLabel->setLineBreakMode(LineBreakMode::TailTruncation);
    content.addSubview(nicknameLabel);

    infoLabel = std::make_shared<Label>(Rect(kContentX, kLineY, 0, kLineHeight));
    infoLabel->setId("infoLabel");
    infoLabel->setFont(smallFont());
    infoLabel->setTextColor(Color::white(0.6));
    content.addSubview(infoLabel);

    locationIcon = std::make_shared<ImageView>(Rect(0, kLineY + 2, kLocationIconWidth, 12));
    locationIcon->setId("locationIcon");
    locationIcon->setImage(ImageAsset::named("location_icon"));
    content.addSubview(locationIcon);

    locationLabel = std::make_shared<Label>(Rect(0, kLineY, 0, kLineHeight));
    locationLabel->setId("locationLabel");
    locationLabel->setFont(smallFont());
    locationLabel->setTextColor(Color::white(0.6));
    locationLabel->setTextAlignment(TextAlignment::Right);
    content.addSubview(locationLabel);

    contentLabel = std::make_shared<Label>(Rect(kContentX, kContentY, kTextWidth, kLineHeight));
    contentLabel->setId("contentLabel");
    contentLabel->setFont(Font::systemFont(14));
    contentLabel->setNumberOfLines(0);
    contentLabel->setLineBreakMode(LineBreakMode::CharacterWrap);
    content.addSubview(contentLabel);

    imageView = std::make_shared<ImageView>(Rect(kContentX, kContentY, kPictureSide, kPictureSide));
    imageView->setId("imageView");
    content.addSubview(imageView);
}

std::shared_ptr<UserListCell> UserListCell::cellFromNib() {
    auto cell = std::make_shared<UserListCell>();
    // The tap recognizer needs the cell's own weak reference, which exists only once it is shared.
    std::weak_ptr<UserListCell> weak = cell;
    cell->logoView->addGestureRecognizer(GestureRecognizer::tap([weak](GestureRecognizer&) {
        if (auto alive = weak.lock()) {
            alive->logoClick();
        }
    }));
    return cell;
}

std::string UserListCell::contentText(const Post& post) {
    return post.purpose + "：" + post.content;
}

std::string UserListCell::respTitle(std::int64_t count) {
    return count == 0 ? std::string() : std::to_string(count);
}

double UserListCell::heightForCell(const User& user) {
    double height = kHeightWithoutPost;
    if (user.post) {
        double text = TextLayout::shared()
                          .measure(contentText(*user.post), Font::systemFont(14), kTextWidth, kMaxTextHeight,
                                   LineBreakMode::CharacterWrap)
                          .height;
        height = text + kHeightAroundText + (user.post->bigPic.empty() ? 0 : kPictureHeight);
    }
    if (user.uid == UserContext::getUid()) {
        height -= kViewerButtonsHeight;
    }
    return height;
}

std::shared_ptr<Button> UserListCell::makeButton(const std::string& id, const std::string& image,
                                                 void (UserListCell::*action)()) {
    auto button = Button::create();
    button->setId(id);
    button->setBackgroundImage(ImageAsset::named(image));
    button->setTitleFont(smallFont());
    button->setTitleColor(Color::white(0.4));
    button->setFrame(Rect(0, 0, 50, kButtonHeight));
    auto weak = weakSelf(this);
    button->addTarget(TouchUpInside, [weak, action](Control&) {
        if (auto alive = weak.lock()) {
            ((*alive).*action)();
        }
    });
    contentView().addSubview(button);
    return button;
}

Button& UserListCell::respButton() {
    if (!respButton_) {
        respButton_ = makeButton("respButton", "list_resp_btn", &UserListCell::respPost);
    }
    return *respButton_;
}

Button& UserListCell::commentButton() {
    if (!commentButton_) {
        commentButton_ = makeButton("commentButton", "list_comment_btn", &UserListCell::comment);
    }
    return *commentButton_;
}

Button& UserListCell::dateButton() {
    if (!dateButton_) {
        dateButton_ = makeButton("dateButton", "list_date_btn", &UserListCell::date);
        dateButton_->setTitle("约ta");
        dateButton_->setFrame(Rect(0, 0, 60, kButtonHeight));
    }
    return *dateButton_;
}

void UserListCell::prepareForReuse() {
    TableViewCell::prepareForReuse();
    ImageViewWebCache::cancelCurrentImageLoad(*logoView);
    ImageViewWebCache::cancelCurrentImageLoad(*imageView);
}

void UserListCell::redrawn(const UserPtr& shownUser) {
    user = shownUser;
    if (!user) {
        return;
    }
    RoundedWebImage::load(*logoView, user->bigLogo, "face_loading");
    layoutUserLine();
    if (user->post) {
        layoutPost(*user->post);
    } else {
        layoutWithoutPost();
    }
    double height = heightForCell(*user);
    setFrame(Rect(frame().origin, Size{frame().width(), height}));
    backgroundImageView->setFrame(Rect(0, 10, kRowWidth, std::max(0.0, height - 10)));
}

void UserListCell::layoutUserLine() {
    onlineLabel->setText(user->onlineText());
    onlineLabel->setTextColor(user->onlineTextColor());

    nicknameLabel->setText(user->nickname);
    nicknameLabel->setTextColor(GenderColors::nickname(user->gender));
    double nicknameWidth = fittedWidth(user->nickname, smallFont(), kNicknameMaxWidth);
    nicknameLabel->setFrame(Rect(kContentX, kLineY, nicknameWidth, kLineHeight));

    std::string distance = user->distanceFromCurrentUser();
    bool showsDistance = !distance.empty() && distance != ">99.9km";
    double distanceSpace = 0;
    locationLabel->setHidden(!showsDistance);
    locationIcon->setHidden(!showsDistance);
    if (showsDistance) {
        locationLabel->setText(distance);
        double width = fittedWidth(distance, smallFont(), kDistanceMaxWidth);
        locationLabel->setFrame(Rect(kRightEdge - width, kLineY, width, kLineHeight));
        locationIcon->setFrame(
            Rect(kRightEdge - width - 2 - kLocationIconWidth, kLineY + 2, kLocationIconWidth, 12));
        distanceSpace = 12 + kLocationIconWidth + width;
    } else {
        locationLabel->setText({});
    }

    std::string info = user->basicInfo();
    infoLabel->setText(info);
    double infoWidth = fittedWidth(info, smallFont(), 200 - nicknameWidth - distanceSpace);
    infoLabel->setFrame(Rect(kContentX + nicknameWidth + 10, kLineY, std::max(0.0, infoWidth), kLineHeight));
}

void UserListCell::layoutPost(const Post& post) {
    std::string text = contentText(post);
    contentLabel->setText(text);
    contentLabel->setTextColor(Color::white(0.4));
    double textHeight =
        TextLayout::shared()
            .measure(text, Font::systemFont(14), kTextWidth, kMaxTextHeight, LineBreakMode::CharacterWrap)
            .height;
    contentLabel->setFrame(Rect(kContentX, kContentY, kTextWidth, textHeight));
    double below = kContentY + textHeight;

    if (!post.bigPic.empty()) {
        imageView->setHidden(false);
        imageView->setFrame(Rect(kContentX, below + 10, kPictureSide, kPictureSide));
        RoundedWebImage::load(*imageView, post.bigPic, "small_pic_loading");
        below = imageView->frame().maxY();
    } else {
        ImageViewWebCache::cancelCurrentImageLoad(*imageView);
        imageView->setImage(nullptr);
        imageView->setHidden(true);
    }

    if (dateButton_) {
        dateButton_->setHidden(true);
    }
    bool isViewer = user->uid == UserContext::getUid();
    if (isViewer) {
        if (commentButton_) {
            commentButton_->setHidden(true);
        }
        if (respButton_) {
            respButton_->setHidden(true);
        }
        return;
    }
    Button& commentBtn = commentButton();
    commentBtn.setHidden(false);
    commentBtn.setFrame(
        Rect(kRightEdge - commentBtn.frame().width(), below + 10, commentBtn.frame().width(), kButtonHeight));
    Button& resp = respButton();
    resp.setHidden(false);
    resp.setTitle(respTitle(post.respCnt));
    resp.setEnabled(post.hasResp == 0);
    placeRespButton();
}

void UserListCell::placeRespButton() {
    Button& resp = respButton();
    Button& commentBtn = commentButton();
    double titleWidth = TextLayout::shared().measure(resp.title(), resp.titleFont(), 0).width;
    double width = std::max(50.0, 30 + titleWidth);
    resp.setFrame(Rect(commentBtn.frame().x() - 10 - width, commentBtn.frame().y(), width, kButtonHeight));
}

void UserListCell::layoutWithoutPost() {
    contentLabel->setText(kNoPostText);
    contentLabel->setTextColor(Color::white(0.6));
    double textHeight = TextLayout::shared().measure(kNoPostText, Font::systemFont(14), kTextWidth).height;
    contentLabel->setFrame(Rect(kContentX, kContentY, kTextWidth, textHeight));
    ImageViewWebCache::cancelCurrentImageLoad(*imageView);
    imageView->setImage(nullptr);
    imageView->setHidden(true);
    if (commentButton_) {
        commentButton_->setHidden(true);
    }
    if (respButton_) {
        respButton_->setHidden(true);
    }
    Button& invite = dateButton();
    // The viewer's own row is 78 points high, which cannot hold the button 10
    // points under the text (and nobody invites themselves): it stays hidden there.
    invite.setHidden(user->uid == UserContext::getUid());
    invite.setFrame(Rect(kRightEdge - invite.frame().width(), kContentY + textHeight + 10,
                         invite.frame().width(), kButtonHeight));
}

void UserListCell::push(const ViewControllerPtr& screen) {
    auto owner = ownerViewController.lock();
    NavigationController* navigation = owner ? owner->navigationController() : nullptr;
    if (navigation == nullptr) {
        return;
    }
    screen->setHidesBottomBarWhenPushed(true);
    navigation->pushViewController(screen, true);
}

void UserListCell::logoClick() {
    if (!user) {
        return;
    }
    auto home = std::make_shared<TaHomeViewController>();
    home->user = user;
    push(home);
}

void UserListCell::comment() {
    if (!user || !user->post) {
        return;
    }
    Analytics::event("clickCommentIcon");
    auto detail = std::make_shared<PostDetailViewController>();
    detail->user = user;
    detail->startComment = true;
    push(detail);
}

void UserListCell::date() {
    if (!user) {
        return;
    }
    auto invitation = std::make_shared<PrepareDateTaViewController>();
    invitation->user = user;
    push(invitation);
}

void UserListCell::respPost() {
    if (!user || !user->post) {
        return;
    }
    auto owner = ownerViewController.lock();
    View* onView = owner && owner->isViewLoaded() ? &owner->view() : nullptr;
    PostPtr post = user->post;
    auto weak = weakSelf(this);
    PostService::responsePost(post->postId, onView, [weak, post] {
        post->hasResp = 1;
        post->respCnt += 1;
        // The row may show another user by now; only a row still showing this post changes.
        auto alive = weak.lock();
        if (!alive || !alive->user || alive->user->post != post) {
            return;
        }
        Button& resp = alive->respButton();
        resp.setEnabled(false);
        resp.setTitle(respTitle(post->respCnt));
        alive->placeRespButton();
    });
}

}  // namespace zorlet
