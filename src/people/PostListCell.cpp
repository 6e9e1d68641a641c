#include "people/PostListCell.h"

#include "people/PostDetailViewController.h"
#include "people/PostService.h"
#include "people/ResponseUsersViewController.h"
#include "people/UserListCell.h"
#include "platform/Analytics.h"
#include "platform/TextLayout.h"
#include "platform/WeakSelf.h"
#include "session/UserContext.h"
#include "ui/ImageViewWebCache.h"
#include "ui/NavigationController.h"
#include "widgets/RoundedWebImage.h"

#include <algorithm>
#include <cmath>

namespace zorlet {

namespace {

constexpr double kButtonHeight = 25;
constexpr double kMaxTextHeight = 1000;

double textHeight(const Post& post) {
    return TextLayout::shared()
        .measure(UserListCell::contentText(post), Font::systemFont(14), PostListCell::kTextWidth,
                 kMaxTextHeight, LineBreakMode::CharacterWrap)
        .height;
}

template <typename Cell>
std::function<void(Control&)> cellAction(Cell* cell, void (Cell::*action)()) {
    auto weak = weakSelf(cell);
    return [weak, action](Control&) {
        if (auto alive = weak.lock()) {
            ((*alive).*action)();
        }
    };
}

}  // namespace

PostListCell::PostListCell() : TableViewCell(Style::Default, kIdentifier) {
    setId("PostListCell");
    setFrame(Rect(0, 0, 320, 50));
    setSelectionStyle(SelectionStyle::None);
    auto background = std::make_shared<ImageView>(ImageAsset::named("home_zl_item_bg.png"));
    background->setId("backgroundImageView");
    background->setAutoresizingMask(View::FlexibleSize);
    background->setFrame(Rect(0, 10, 320, 40));
    setBackgroundView(background);
    View& content = contentView();

    logoView = std::make_shared<ImageView>(Rect(12, kTextY, 50, 50));
    logoView->setId("logoView");
    logoView->setCornerRadius(RoundedWebImage::kCornerRadius);
    content.addSubview(logoView);

    contentLabel = std::make_shared<Label>(Rect(kTextX, kTextY, kTextWidth, 18));
    contentLabel->setId("contentLabel");
    contentLabel->setFont(Font::systemFont(14));
    contentLabel->setTextColor(Color::white(0.4));
    contentLabel->setNumberOfLines(0);
    contentLabel->setLineBreakMode(LineBreakMode::CharacterWrap);
    content.addSubview(contentLabel);

    postImageView = std::make_shared<ImageView>(Rect(kTextX, kTextY, kPictureSide, kPictureSide));
    postImageView->setId("postImageView");
    content.addSubview(postImageView);

    respUsersButton = Button::create();
    respUsersButton->setId("respUsersButton");
    respUsersButton->setTitleFont(Font::systemFont(12));
    respUsersButton->setTitleColor(Color{0.24, 0.51, 0.76, 1});
    content.addSubview(respUsersButton);
}

std::shared_ptr<PostListCell> PostListCell::cellFromNib() {
    auto cell = std::make_shared<PostListCell>();
    cell->respUsersButton->addTarget(TouchUpInside, cellAction(cell.get(), &PostListCell::goRespUsers));
    return cell;
}

double PostListCell::heightForCell(const Post& post) {
    double height = textHeight(post) + 10 + 18;
    if (!post.bigPic.empty()) {
        height += 80;
    }
    if (post.createUid != UserContext::getUid()) {
        height += 35;
    } else if (post.respCnt >= 1) {
        height += 25;
    }
    return std::max(height, 50.0);
}

ListRespPostButton& PostListCell::respButton() {
    if (!respButton_) {
        respButton_ = ListRespPostButton::create();
        respButton_->setId("respButton");
        respButton_->addTarget(TouchUpInside, cellAction(this, &PostListCell::respPost));
        contentView().addSubview(respButton_);
    }
    return *respButton_;
}

Button& PostListCell::commentButton() {
    if (!commentButton_) {
        commentButton_ = Button::create();
        commentButton_->setId("commentButton");
        commentButton_->setBackgroundImage(ImageAsset::named("list_comment_btn"));
        commentButton_->setFrame(Rect(0, 0, 50, kButtonHeight));
        commentButton_->addTarget(TouchUpInside, cellAction(this, &PostListCell::comment));
        contentView().addSubview(commentButton_);
    }
    return *commentButton_;
}

void PostListCell::prepareForReuse() {
    TableViewCell::prepareForReuse();
    ImageViewWebCache::cancelCurrentImageLoad(*logoView);
    ImageViewWebCache::cancelCurrentImageLoad(*postImageView);
}

UserPtr PostListCell::author() const {
    return user ? user : UserContext::getUser();
}

void PostListCell::redrawn(const PostPtr& shownPost) {
    post = shownPost;
    if (!post) {
        return;
    }
    if (auto who = author()) {
        RoundedWebImage::load(*logoView, who->bigLogo, "face_loading");
    }
    double height = textHeight(*post);
    contentLabel->setText(UserListCell::contentText(*post));
    contentLabel->setFrame(Rect(kTextX, kTextY, kTextWidth, height));
    double below = kTextY + height;

    if (!post->bigPic.empty()) {
        postImageView->setHidden(false);
        postImageView->setFrame(Rect(kTextX, below + 10, kPictureSide, kPictureSide));
        RoundedWebImage::load(*postImageView, post->bigPic, "small_pic_loading");
        below = postImageView->frame().maxY();
    } else {
        ImageViewWebCache::cancelCurrentImageLoad(*postImageView);
        postImageView->setImage(nullptr);
        postImageView->setHidden(true);
    }

    auto who = author();
    bool viewerIsAuthor = who && who->uid == UserContext::getUid();
    if (viewerIsAuthor) {
        if (respButton_) {
            respButton_->setHidden(true);
        }
        if (commentButton_) {
            commentButton_->setHidden(true);
        }
        respUsersButton->setHidden(post->respCnt < 1);
        if (post->respCnt >= 1) {
            std::string title = std::to_string(post->respCnt) + "人有兴趣";
            respUsersButton->setTitle(title);
            double width =
                std::ceil(TextLayout::shared().measure(title, respUsersButton->titleFont(), 0).width) + 10;
            respUsersButton->setFrame(Rect(kRightEdge - width, below + 10, width, 20));
        }
    } else {
        respUsersButton->setHidden(true);
        Button& comment = commentButton();
        comment.setHidden(false);
        comment.setFrame(
            Rect(kRightEdge - comment.frame().width(), below + 10, comment.frame().width(), kButtonHeight));
        ListRespPostButton& resp = respButton();
        resp.setHidden(false);
        resp.setCount(post->respCnt);
        resp.setEnabled(post->hasResp == 0);
        placeRespButton();
    }
    setFrame(Rect(frame().origin, Size{frame().width(), heightForCell(*post)}));
}

void PostListCell::placeRespButton() {
    ListRespPostButton& resp = respButton();
    Button& comment = commentButton();
    resp.setFrame(Rect(comment.frame().x() - 10 - resp.frame().width(), comment.frame().y(),
                       resp.frame().width(), resp.frame().height()));
}

void PostListCell::respPost() {
    if (!post) {
        return;
    }
    auto owner = ownerViewController.lock();
    View* onView = owner && owner->isViewLoaded() ? &owner->view() : nullptr;
    PostPtr responded = post;
    auto weak = weakSelf(this);
    PostService::responsePost(responded->postId, onView, [weak, responded] {
        responded->hasResp = 1;
        responded->respCnt += 1;
        auto alive = weak.lock();
        if (!alive || alive->post != responded) {
            return;
        }
        ListRespPostButton& resp = alive->respButton();
        resp.setEnabled(false);
        resp.setCount(responded->respCnt);
        alive->placeRespButton();
    });
}

void PostListCell::comment() {
    Analytics::event("clickCommentIcon");
    pushDetail(true);
}

void PostListCell::pushDetail(bool startComment) {
    auto owner = ownerViewController.lock();
    NavigationController* navigation = owner ? owner->navigationController() : nullptr;
    auto who = author();
    if (navigation == nullptr || !post || !who) {
        return;
    }
    auto detail = std::make_shared<PostDetailViewController>();
    detail->user = who->copy();
    detail->user->post = post;
    detail->startComment = startComment;
    detail->setHidesBottomBarWhenPushed(true);
    navigation->pushViewController(detail, true);
}

void PostListCell::goRespUsers() {
    auto owner = ownerViewController.lock();
    NavigationController* navigation = owner ? owner->navigationController() : nullptr;
    if (navigation == nullptr || !post) {
        return;
    }
    auto responders = std::make_shared<ResponseUsersViewController>(post->postId);
    responders->setHidesBottomBarWhenPushed(true);
    navigation->pushViewController(responders, true);
}

}  // namespace zorlet
