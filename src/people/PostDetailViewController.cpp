#include "people/PostDetailViewController.h"

#include "app/CustomNavigationController.h"
#include "app/ScreenActions.h"
#include "app/WebViewController.h"
#include "ideas/IdeaDetailViewController.h"
#include "model/ImageHelpers.h"
#include "net/HttpRequestSender.h"
#include "net/MessageShow.h"
#include "net/UrlUtils.h"
#include "people/GenderColors.h"
#include "people/PostService.h"
#include "people/ResponseUsersViewController.h"
#include "people/SendPostViewController.h"
#include "people/TaHomeViewController.h"
#include "people/UserListCell.h"
#include "people/UserPostViewController.h"
#include "people/WholeImageViewController.h"
#include "platform/Analytics.h"
#include "platform/MainLoop.h"
#include "platform/TextLayout.h"
#include "platform/UnicodeText.h"
#include "platform/WeakSelf.h"
#include "session/UserContext.h"
#include "ui/Animator.h"
#include "ui/Application.h"
#include "ui/ImageViewWebCache.h"
#include "ui/Keyboard.h"
#include "ui/NavigationController.h"
#include "ui/NotificationCenter.h"
#include "ui/PopupPresenter.h"
#include "ui/ProgressHUD.h"
#include "ui/Window.h"
#include "widgets/OperationProgress.h"
#include "widgets/RoundedWebImage.h"

#include <algorithm>
#include <cmath>

namespace zorlet {

namespace {

constexpr double kHeaderHeight = 70;
constexpr double kContentX = 12;
constexpr double kContentWidth = 296;
constexpr double kGap = 10;
constexpr double kRowHeight = 36;
constexpr double kLineHeight = 15;
constexpr Duration kLeaveAfterDelete{2000};

// Where a part starts: under the part above it, or in its place when that one is hidden.
double originBelow(const View& upper, double gap) {
    return upper.frame().y() + (upper.isHidden() ? 0 : upper.frame().height() + gap);
}

std::shared_ptr<Label> makeLabel(const std::string& id, Rect frame, double fontSize, const Color& color) {
    auto label = std::make_shared<Label>(frame);
    label->setId(id);
    label->setFont(Font::systemFont(fontSize));
    label->setTextColor(color);
    return label;
}

std::shared_ptr<View> makeLine(const std::string& id) {
    auto line = std::make_shared<View>(Rect(kContentX, 0, kContentWidth, 1));
    line->setId(id);
    line->setBackgroundColor(Color::white(0.85));
    return line;
}

}  // namespace

PostDetailViewController::PostDetailViewController() = default;

PostDetailViewController::~PostDetailViewController() {
    NotificationCenter::defaultCenter().removeObserver(this);
    if (popup_) {
        popup_->dismissPopup(false);
    }
}

View* PostDetailViewController::navigationView() {
    return navigationController() != nullptr ? &navigationController()->view() : &view();
}

void PostDetailViewController::viewDidLoad() {
    setTitle("Zorlet详情");
    Analytics::event("enterPostDetail");
    view().setId("PostDetailViewController");
    view().setBackgroundImage(ImageAsset::named("app_bg"));
    isMe = user && user->uid == UserContext::getUid();
    if (isMe) {
        navigationItem().setRightBarButtonItem(ScreenActions::barItem("编辑", BarButtonItem::Style::Bordered,
                                                                      "openEditor", this,
                                                                      &PostDetailViewController::openEditor));
    }
    buildHeader();
    buildPost();
    buildBottomBar();

    NotificationCenter::defaultCenter().addObserver(this, Keyboard::kWillShowNotification,
                                                    [this](const Notification& n) { keyboardWillShow(n); });
    NotificationCenter::defaultCenter().addObserver(this, Keyboard::kWillHideNotification,
                                                    [this](const Notification& n) { keyboardWillHide(n); });
}

void PostDetailViewController::buildHeader() {
    logoView = std::make_shared<ImageView>(Rect(kContentX, 10, 50, 50));
    logoView->setId("logoView");
    logoView->setCornerRadius(RoundedWebImage::kCornerRadius);
    logoView->setUserInteractionEnabled(true);
    view().addSubview(logoView);
    ScreenActions::onTap(*logoView, this, &PostDetailViewController::goToUserHome);

    nicknameLabel = makeLabel("nicknameLabel", Rect(72, 12, 236, 18), 15, Color::blackColor());
    nicknameLabel->setUserInteractionEnabled(true);
    view().addSubview(nicknameLabel);
    ScreenActions::onTap(*nicknameLabel, this, &PostDetailViewController::goToUserHome);

    locationIcon = std::make_shared<ImageView>(Rect(72, 39, 10, 12));
    locationIcon->setId("locationIcon");
    locationIcon->setImage(ImageAsset::named("location_icon"));
    view().addSubview(locationIcon);

    userInfoLabel = makeLabel("userInfoLabel", Rect(86, 37, 222, kLineHeight), 12, Color::white(0.5));
    userInfoLabel->setNumberOfLines(0);
    userInfoLabel->setLineBreakMode(LineBreakMode::CharacterWrap);
    view().addSubview(userInfoLabel);
}

void PostDetailViewController::buildPost() {
    Rect bounds = view().bounds();
    postScrollView = std::make_shared<ScrollView>(
        Rect(0, kHeaderHeight, bounds.width(), bounds.height() - kHeaderHeight - kBarHeight));
    postScrollView->setId("postScrollView");
    postScrollView->setAutoresizingMask(View::FlexibleWidth | View::FlexibleHeight);
    view().addSubview(postScrollView);

    contentLabel = makeLabel("contentLabel", Rect(kContentX, kGap, kContentWidth, 18), 15, Color::white(0.2));
    contentLabel->setNumberOfLines(0);
    contentLabel->setLineBreakMode(LineBreakMode::CharacterWrap);
    postScrollView->addSubview(contentLabel);

    postImageView = std::make_shared<ImageView>(Rect(kContentX, 0, 0, 0));
    postImageView->setId("postImageView");
    postImageView->setUserInteractionEnabled(true);
    postScrollView->addSubview(postImageView);
    ScreenActions::onTap(*postImageView, this, &PostDetailViewController::showWholeImage);

    moreButton = Button::create();
    moreButton->setId("moreButton");
    moreButton->setTitle("查看详情");
    moreButton->setTitleFont(Font::systemFont(12));
    moreButton->setBackgroundImage(ImageAsset::named("post_more_btn"));
    moreButton->setFrame(Rect(0, 0, 70, 24));
    postScrollView->addSubview(moreButton);
    ScreenActions::connect(*postScrollView, "moreButton", this, &PostDetailViewController::goIdea);

    firstLine = makeLine("firstLine");
    postScrollView->addSubview(firstLine);

    interestView = std::make_shared<View>(Rect(0, 0, bounds.width(), kRowHeight));
    interestView->setId("interestView");
    interestNumLabel = makeLabel("interestNumLabel", Rect(kContentX, 10, 0, 16), 15, Color{1.0, 0.4, 0.6, 1});
    interestLabel = makeLabel("interestLabel", Rect(kContentX, 10, 120, 16), 14, Color::white(0.4));
    interestLabel->setText("人对此有兴趣");
    interestView->addSubview(interestNumLabel);
    interestView->addSubview(interestLabel);
    postScrollView->addSubview(interestView);
    ScreenActions::onTap(*interestView, this, &PostDetailViewController::goRespUsers);

    placeView = std::make_shared<View>(Rect(0, 0, bounds.width(), kRowHeight));
    placeView->setId("placeView");
    placeLabel =
        makeLabel("placeLabel", Rect(kContentX, 10, kContentWidth, kLineHeight), 14, Color::white(0.4));
    placeLabel->setNumberOfLines(0);
    placeLabel->setLineBreakMode(LineBreakMode::CharacterWrap);
    placeLine = makeLine("placeLine");
    placeView->addSubview(placeLabel);
    placeView->addSubview(placeLine);
    postScrollView->addSubview(placeView);

    timeView = std::make_shared<View>(Rect(0, 0, bounds.width(), kRowHeight));
    timeView->setId("timeView");
    timeLabel =
        makeLabel("timeLabel", Rect(kContentX, 10, kContentWidth, kLineHeight), 14, Color::white(0.4));
    timeView->addSubview(timeLabel);
    postScrollView->addSubview(timeView);
}

void PostDetailViewController::buildBottomBar() {
    Rect bounds = view().bounds();
    buttonView = std::make_shared<View>(Rect(0, bounds.height() - kBarHeight, bounds.width(), kBarHeight));
    buttonView->setId("buttonView");
    buttonView->setAutoresizingMask(View::FlexibleWidth | View::FlexibleTopMargin);
    buttonBgImageView = std::make_shared<ImageView>(buttonView->bounds());
    buttonBgImageView->setId("buttonBgImageView");
    buttonBgImageView->setImage(ImageAsset::named("bottom_bar_bg"));
    buttonBgImageView->setAutoresizingMask(View::FlexibleSize);
    buttonView->addSubview(buttonBgImageView);

    responseButton = Button::create();
    responseButton->setId("responseButton");
    responseButton->setTitle("有兴趣");
    responseButton->setTitleFont(Font::systemFont(13));
    responseButton->setBackgroundImage(ImageAsset::named("detail_resp_btn"));
    responseButton->setFrame(Rect(6, 7, 64, 30));
    responseButton->setAutoresizingMask(View::FlexibleTopMargin);
    buttonView->addSubview(responseButton);
    ScreenActions::connect(*buttonView, "responseButton", this, &PostDetailViewController::respPost);

    textView = std::make_shared<GrowingTextView>(Rect(76, 6, 238, 32));
    textView->setId("textView");
    textView->setPlaceholder("留句话吧...");
    textView->setMinNumberOfLines(1);
    textView->setMaxNumberOfLines(3);
    textView->setCustomDelegate(this);
    textView->setAutoresizingMask(View::FlexibleHeight);
    buttonView->addSubview(textView);
    view().addSubview(buttonView);
}

void PostDetailViewController::viewWillAppear(bool) {
    showPost();
    Analytics::beginLogPageView(className());
}

void PostDetailViewController::viewDidAppear(bool) {
    if (startComment && !isMe && textView) {
        startComment = false;
        textView->becomeFirstResponder();
    }
}

void PostDetailViewController::viewWillDisappear(bool) {
    Analytics::endLogPageView(className());
}

void PostDetailViewController::showPost() {
    if (!user || !user->post) {
        return;
    }
    const Post& post = *user->post;
    RoundedWebImage::load(*logoView, user->bigLogo, "face_loading");
    Color nameColor = GenderColors::nickname(user->gender);
    nicknameLabel->setText(user->nickname);
    nicknameLabel->setTextColor(nameColor);
    nicknameLabel->setHighlightedTextColor(nameColor);

    bool located = user->hasDistance();
    locationIcon->setHidden(!located);
    double infoX = located ? 86 : 72;
    double infoWidth = 308 - infoX;
    std::string info = user->basicInfoWithDistance();
    userInfoLabel->setText(info);
    double infoHeight = TextLayout::shared()
                            .measure(info, userInfoLabel->font(), infoWidth, 45, LineBreakMode::CharacterWrap)
                            .height;
    if (infoHeight > kLineHeight) {
        // A long text grows upward so that it ends level with the avatar.
        userInfoLabel->setFrame(Rect(infoX, logoView->frame().maxY() - infoHeight, infoWidth, infoHeight));
    } else {
        userInfoLabel->setFrame(Rect(infoX, 37, infoWidth, kLineHeight));
    }

    std::string text = UserListCell::contentText(post);
    contentLabel->setText(text);
    double textHeight =
        TextLayout::shared()
            .measure(text, contentLabel->font(), kContentWidth, 1000, LineBreakMode::CharacterWrap)
            .height;
    contentLabel->setFrame(Rect(kContentX, kGap, kContentWidth, textHeight));

    showPicture();

    interestView->setHidden(!post.hasRespPersons());
    std::string count = std::to_string(post.respCnt);
    interestNumLabel->setText(count);
    double countWidth = std::ceil(TextLayout::shared().measure(count, interestNumLabel->font(), 0).width);
    interestNumLabel->setFrame(Rect(kContentX, 10, countWidth, 16));
    interestLabel->setFrame(Rect(kContentX + countWidth + 4, 10, 200, 16));

    placeView->setHidden(!post.hasPlace());
    std::string place = post.fullPlace().value_or("");
    placeLabel->setText(place);
    double placeHeight = std::max(
        kLineHeight, TextLayout::shared()
                         .measure(place, placeLabel->font(), kContentWidth, 0, LineBreakMode::CharacterWrap)
                         .height);
    placeLabel->setFrame(Rect(kContentX, 10, kContentWidth, placeHeight));
    placeLine->setFrame(Rect(kContentX, placeLabel->frame().maxY() + 10, kContentWidth, 1));
    placeView->setFrame(
        Rect(0, placeView->frame().y(), placeView->frame().width(), placeLine->frame().maxY()));

    timeView->setHidden(!post.hasTime());
    timeLabel->setText(post.date);

    firstLine->setHidden(!post.hasRespPersons() && !post.hasPlace() && !post.hasTime());

    buttonView->setHidden(isMe);
    responseButton->setHidden(isMe);
    responseButton->setEnabled(!isMe && post.hasResp == 0);
    Rect scroll = postScrollView->frame();
    double bottom = isMe ? view().bounds().height() : buttonView->frame().y();
    postScrollView->setFrame(Rect(scroll.x(), scroll.y(), scroll.width(), bottom - scroll.y()));
    resetViewFrame();
}

void PostDetailViewController::showPicture() {
    const Post& post = *user->post;
    if (post.bigPic.empty()) {
        ImageViewWebCache::cancelCurrentImageLoad(*postImageView);
        shownPictureUrl_.clear();
        postImageView->setImage(nullptr);
        postImageView->setHidden(true);
        moreButton->setHidden(true);
        return;
    }
    if (post.bigPic == shownPictureUrl_) {
        return;
    }
    shownPictureUrl_ = post.bigPic;
    postImageView->setHidden(true);
    moreButton->setHidden(true);
    auto weak = weakSelf(this);
    ImageViewWebCache::setImageWithURL(*postImageView, post.bigPic, {}, [weak](const ImagePtr& image) {
        auto self = weak.lock();
        if (!self || !image || !self->user || !self->user->post) {
            return;
        }
        double width = std::floor(image->pixelWidth() / 2.0);
        double height = std::floor(image->pixelHeight() / 2.0);
        // A picture wider than the page is shown at the page's width.
        if (width > kContentWidth) {
            height = std::floor(height * kContentWidth / width);
            width = kContentWidth;
        }
        if (width <= 0 || height <= 0) {
            return;
        }
        auto scaled = imageByScalingAndCroppingForSize(*image, width * 2, height * 2);
        auto rounded = scaled ? createRoundedRectImage(*scaled, RoundedWebImage::kCornerRadius) : nullptr;
        if (rounded) {
            self->postImageView->setImage(ImageAsset::fromImage(rounded));
        }
        self->postImageView->setFrame(Rect(kContentX, 0, width, height));
        self->postImageView->setHidden(false);
        self->moreButton->setHidden(self->user->post->link.empty());
        self->resetViewFrame();
    });
}

void PostDetailViewController::resetViewFrame() {
    Rect picture = postImageView->frame();
    postImageView->setFrame(
        Rect(kContentX, originBelow(*contentLabel, kGap), picture.width(), picture.height()));
    Rect more = moreButton->frame();
    moreButton->setFrame(Rect(postImageView->frame().maxX() - more.width() - kGap,
                              postImageView->frame().maxY() - kGap - more.height(), more.width(),
                              more.height()));
    const View& aboveLine =
        postImageView->isHidden() ? static_cast<const View&>(*contentLabel) : *postImageView;
    firstLine->setFrame(Rect(kContentX, originBelow(aboveLine, kGap), kContentWidth, 1));
    auto place = [](View& part, const View& upper) {
        part.setFrame(Rect(0, originBelow(upper, 0), part.frame().width(), part.frame().height()));
    };
    place(*interestView, *firstLine);
    place(*placeView, *interestView);
    place(*timeView, *placeView);
    double contentHeight =
        timeView->frame().y() + (timeView->isHidden() ? 0 : timeView->frame().height()) + 10;
    postScrollView->setContentSize(Size{view().bounds().width(), contentHeight});
}

void PostDetailViewController::goToUserHome() {
    NavigationController* navigation = navigationController();
    if (navigation == nullptr || !user) {
        return;
    }
    auto home = std::make_shared<TaHomeViewController>();
    home->user = user;
    home->setHidesBottomBarWhenPushed(true);
    navigation->pushViewController(home, true);
}

void PostDetailViewController::respPost() {
    if (!user || !user->post) {
        return;
    }
    if (textView) {
        textView->resignFirstResponder();
    }
    PostPtr post = user->post;
    std::weak_ptr<Button> pressed = responseButton;
    PostService::responsePost(post->postId, navigationView(), [post, pressed] {
        post->hasResp = 1;
        post->respCnt += 1;
        if (auto button = pressed.lock()) {
            button->setEnabled(false);
        }
    });
}

void PostDetailViewController::goRespUsers() {
    NavigationController* navigation = navigationController();
    if (navigation == nullptr || !user || !user->post) {
        return;
    }
    auto responders = std::make_shared<ResponseUsersViewController>(user->post->postId);
    responders->setHidesBottomBarWhenPushed(true);
    navigation->pushViewController(responders, true);
}

void PostDetailViewController::goIdea() {
    Analytics::event("clickPostMore");
    NavigationController* navigation = navigationController();
    if (navigation == nullptr || !user || !user->post) {
        return;
    }
    ViewControllerPtr next;
    if (user->post->ideaId != 0) {
        auto idea = std::make_shared<IdeaDetailViewController>();
        idea->ideaId = user->post->ideaId;
        next = idea;
    } else {
        next = std::make_shared<WebViewController>(user->post->link, "Zorlet详情");
    }
    next->setHidesBottomBarWhenPushed(true);
    navigation->pushViewController(next, true);
}

void PostDetailViewController::showWholeImage() {
    if (!user || !user->post || postImageView->isHidden()) {
        return;
    }
    wholeImage_ = std::make_shared<WholeImageViewController>();
    if (auto shown = postImageView->image()) {
        wholeImage_->image = shown->image();
    }
    wholeImage_->imageUrl = user->post->bigPic;
    std::weak_ptr<ViewController> weak = weak_from_this();
    popup_ = std::make_unique<PopupPresenter>();
    popup_->setDismissOnBackgroundTap(true);
    popup_->presentPopupView(wholeImage_->viewPtr(), true);
}

void PostDetailViewController::sendComment() {
    if (!user || !user->post || !textView) {
        return;
    }
    std::string content = UnicodeText::trimmed(textView->text());
    std::size_t length = UnicodeText::chineseLength(content);
    if (length == 0) {
        MessageShow::error("请先输入内容", navigationView());
        return;
    }
    if (length > kMaxCommentLength) {
        MessageShow::error("请不要超过100字", navigationView());
        return;
    }
    View* shell = Application::shared().keyWindow();
    auto hud = OperationProgress::show(shell, "发送中...", OperationProgress::kAboveKeyboard);
    auto request =
        HttpRequestSender::postRequestWithUrl(UrlUtils::urlStringWithUri("post/v133/comment"),
                                              {{"postId", user->post->postId}, {"content", content}});
    if (!request) {
        OperationProgress::hide(hud);
        return;
    }
    auto weak = weakSelf(this);
    HttpRequestSender::doRequest(request, shell, [weak, hud](const Json&) {
        Analytics::event("sendComment");
        if (auto self = weak.lock()) {
            self->textView->setText({});
            self->textView->resignFirstResponder();
        }
        if (hud) {
            hud->setYOffset(0);
            OperationProgress::succeed(*hud, "发送成功，可在消息页查看");
        }
    });
}

bool PostDetailViewController::textViewShouldChangeText(TextView&, TextRange,
                                                        const std::string& replacement) {
    if (replacement == "\n") {
        sendComment();
        return false;
    }
    return true;
}

void PostDetailViewController::textViewDidChangeHeight(TextView&, double difference) {
    Rect bar = buttonView->frame();
    buttonView->setFrame(Rect(bar.x(), bar.y() - difference, bar.width(), bar.height() + difference));
    buttonBgImageView->setFrame(buttonView->bounds());
}

void PostDetailViewController::keyboardWillShow(const Notification& notification) {
    if (isMe || !textView || Keyboard::shared().firstResponder() == nullptr) {
        return;
    }
    Keyboard::Info keyboard = Keyboard::Info::from(notification);
    Rect frameEnd = keyboard.frameEnd;
    double keyboardTop = view().convertFromWindow(frameEnd.origin).y;
    Rect bar = buttonView->frame();
    Animator::shared().animate(
        keyboard.animationDuration, animationCurveFromNumber(keyboard.animationCurve),
        [this, bar, keyboardTop] {
            buttonView->setFrame(Rect(bar.x(), keyboardTop - bar.height(), bar.width(), bar.height()));
        });
    if (!dismissTap_) {
        auto resign = [this](GestureRecognizer&) { textView->resignFirstResponder(); };
        dismissTap_ = GestureRecognizer::tap(resign);
        dismissPan_ = GestureRecognizer::pan(resign);
        postScrollView->addGestureRecognizer(dismissTap_);
        postScrollView->addGestureRecognizer(dismissPan_);
    }
}

void PostDetailViewController::keyboardWillHide(const Notification& notification) {
    if (isMe || !buttonView) {
        return;
    }
    Keyboard::Info keyboard = Keyboard::Info::from(notification);
    Rect bar = buttonView->frame();
    double bottom = view().bounds().height();
    Animator::shared().animate(
        keyboard.animationDuration, animationCurveFromNumber(keyboard.animationCurve), [this, bar, bottom] {
            buttonView->setFrame(Rect(bar.x(), bottom - bar.height(), bar.width(), bar.height()));
        });
    if (dismissTap_) {
        postScrollView->removeGestureRecognizer(dismissTap_.get());
        postScrollView->removeGestureRecognizer(dismissPan_.get());
        dismissTap_.reset();
        dismissPan_.reset();
    }
}

void PostDetailViewController::openEditor() {
    auto sheet = ActionSheet::create("编辑Zorlet", this, "取消", "删除", {"修改"});
    View* shell = Application::shared().keyWindow();
    sheet->showInView(shell != nullptr ? shell : &view());
}

void PostDetailViewController::actionSheetClickedButton(ActionSheet& sheet, int index) {
    if (index == sheet.destructiveButtonIndex()) {
        AlertView::create("确定删除此条Zorlet么？", "", this, "返回", {"确定"})->show();
    } else if (sheet.buttonTitle(index) == "修改") {
        if (NavigationController* navigation = navigationController(); navigation && user && user->post) {
            auto composer = std::make_shared<SendPostViewController>(user->post);
            composer->setHidesBottomBarWhenPushed(true);
            navigation->pushViewController(composer, true);
        }
    }
}

void PostDetailViewController::alertViewClickedButton(AlertView& alertView, int index) {
    if (index != alertView.cancelButtonIndex()) {
        deletePost();
    }
}

void PostDetailViewController::deletePost() {
    if (!user || !user->post) {
        return;
    }
    View* shell = Application::shared().keyWindow();
    auto hud = OperationProgress::show(shell, "删除中...");
    PostPtr post = user->post;
    auto request = HttpRequestSender::postRequestWithUrl(UrlUtils::urlStringWithUri("post/v133/delete"),
                                                         {{"postId", post->postId}});
    if (!request) {
        OperationProgress::hide(hud);
        return;
    }
    auto weak = weakSelf(this);
    HttpRequestSender::doRequest(request, shell, [weak, hud, post](const Json&) {
        if (hud) {
            OperationProgress::succeed(*hud, "删除成功");
        }
        auto self = weak.lock();
        if (!self) {
            return;
        }
        if (auto list = self->userPostViewController.lock(); list && self->index) {
            list->setDeleteIndex(*self->index);
        }
        // A feed row shares this author record: it no longer shows the deleted post.
        if (self->user->post == post) {
            self->user->post = nullptr;
        }
        MainLoop::main().runAfter(kLeaveAfterDelete, [weak] {
            auto screen = weak.lock();
            if (!screen) {
                return;
            }
            if (auto* navigation = dynamic_cast<CustomNavigationController*>(screen->navigationController());
                navigation && navigation->topViewController() == screen.get()) {
                navigation->popViewController();
            }
        });
    });
}

}  // namespace zorlet
