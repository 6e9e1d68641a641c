#include "ideas/IdeaDetailViewController.h"

#include "app/CustomNavigationController.h"
#include "ideas/IdeaLocationViewController.h"
#include "ideas/IdeaService.h"
#include "ideas/IdeaUsersViewController.h"
#include "ideas/ShareIdeaInputViewController.h"
#include "model/BaseData.h"
#include "model/ImageHelpers.h"
#include "model/User.h"
#include "net/HttpRequestDelegate.h"
#include "net/HttpRequestSender.h"
#include "net/MessageShow.h"
#include "net/UrlUtils.h"
#include "platform/Analytics.h"
#include "platform/Log.h"
#include "platform/MainLoop.h"
#include "platform/TextLayout.h"
#include "platform/WeakSelf.h"
#include "session/UserContext.h"
#include "ui/BarButtonItem.h"
#include "ui/GestureRecognizer.h"
#include "ui/ImageViewWebCache.h"
#include "ui/NavigationController.h"
#include "ui/ProgressHUD.h"
#include "ui/TabBarController.h"
#include "widgets/OperationProgress.h"

#include <algorithm>

namespace zorlet {

namespace {

constexpr double kMargin = 10;
constexpr double kTextX = 20;
constexpr double kSectionTitleHeight = 26;
constexpr double kRowTextWidth = 240;
constexpr double kPlaceholderHeight = 200;
constexpr const char* kPicturePlaceholder = "idea_list_pic_loading";

Font contentFont() {
    return Font::boldSystemFont(17);
}
Font rowFont() {
    return Font::systemFont(14);
}

double measuredHeight(const std::string& text, const Font& font, double width, double maxHeight) {
    return TextLayout::shared().measure(text, font, width, maxHeight, LineBreakMode::CharacterWrap).height;
}

std::shared_ptr<Label> makeLabel(const std::string& id, const Font& font, const Color& color) {
    auto label = std::make_shared<Label>(Rect(0, 0, 0, 0));
    label->setId(id);
    label->setFont(font);
    label->setTextColor(color);
    label->setNumberOfLines(0);
    label->setLineBreakMode(LineBreakMode::CharacterWrap);
    return label;
}

std::shared_ptr<Label> sectionTitle(const std::string& text) {
    auto title = makeLabel("sectionTitle", Font::boldSystemFont(14), Color::white(0.3));
    title->setText(text);
    title->setFrame(Rect(kMargin, 0, 200, kSectionTitleHeight - 6));
    return title;
}

}  // namespace

IdeaDetailViewController::~IdeaDetailViewController() {
    if (shareSheet) {
        shareSheet->setDelegate(nullptr);
    }
}

void IdeaDetailViewController::viewDidLoad() {
    setTitle("好主意");
    view().setId("IdeaDetailViewController");
    view().setBackgroundImage(ImageAsset::named("app_bg"));

    shareButton = Button::create();
    shareButton->setId("shareButton");
    shareButton->setTitle("分享");
    shareButton->setBackgroundImage(ImageAsset::named("top_nav_btn_link"));
    shareButton->setFrame(Rect(0, 0, 50, 30));
    auto weak = weakSelf(this);
    auto self = [weak] { return weak.lock(); };
    shareButton->addTarget(TouchUpInside, [self](Control&) {
        if (auto alive = self()) {
            alive->openShareLog();
        }
    });
    navigationItem().setRightBarButtonItem(std::make_shared<BarButtonItem>(shareButton));

    scrollView = std::make_shared<ScrollView>(view().bounds());
    scrollView->setId("scrollView");
    scrollView->setAutoresizingMask(View::FlexibleSize);
    view().addSubview(scrollView);

    pictureView = std::make_shared<ImageView>(Rect(kMargin, kMargin, kContentWidth, kPlaceholderHeight));
    pictureView->setId("pictureView");
    scrollView->addSubview(pictureView);
    categoryImageView = std::make_shared<ImageView>(Rect(kMargin + 8, kMargin + 8, 30, 30));
    categoryImageView->setId("categoryImageView");
    scrollView->addSubview(categoryImageView);

    contentLabel = makeLabel("contentLabel", contentFont(), Color::white(0.15));
    scrollView->addSubview(contentLabel);

    usersButton = Button::create();
    usersButton->setId("usersButton");
    usersButton->setImage(ImageAsset::named("idea_users_icon"));
    usersButton->setTitleFont(Font::systemFont(14));
    usersButton->setTitleColor(Color::white(0.35));
    usersButton->addTarget(TouchUpInside, [self](Control&) {
        if (auto alive = self()) {
            alive->showUsedUsers();
        }
    });
    scrollView->addSubview(usersButton);

    basicSection = std::make_shared<View>(Rect(kMargin, 0, kContentWidth, 0));
    basicSection->setId("basicSection");
    basicSection->addSubview(sectionTitle("基本信息"));
    placeRow = makeRow("placeRow", "idea_place_icon", placeLabel);
    placeRow->addGestureRecognizer(GestureRecognizer::tap([self](GestureRecognizer&) {
        if (auto alive = self()) {
            alive->showLocation();
        }
    }));
    timeRow = makeRow("timeRow", "idea_time_icon", timeLabel);
    priceRow = makeRow("priceRow", "idea_price_icon", priceLabel);
    scrollView->addSubview(basicSection);

    detailSection = std::make_shared<View>(Rect(kMargin, 0, kContentWidth, 0));
    detailSection->setId("detailSection");
    detailSection->addSubview(sectionTitle("详细介绍"));
    detailLabel = makeLabel("detailLabel", rowFont(), Color::white(0.25));
    detailSection->addSubview(detailLabel);
    scrollView->addSubview(detailSection);

    wantToButton = Button::create();
    wantToButton->setId("wantToButton");
    wantToButton->setTitle("我想去");
    wantToButton->setTitle("已想去", Disabled);
    wantToButton->setBackgroundImage(ImageAsset::named("idea_want_btn"));
    wantToButton->setBackgroundImage(ImageAsset::named("idea_want_btn_disabled"), Disabled);
    wantToButton->addTarget(TouchUpInside, [self](Control&) {
        if (auto alive = self()) {
            alive->postIdea();
        }
    });
    scrollView->addSubview(wantToButton);

    if (idea) {
        showIdea();
    } else {
        // Nothing to show until the idea arrives.
        scrollView->setHidden(true);
        loadIdea();
    }
}

std::shared_ptr<View> IdeaDetailViewController::makeRow(const std::string& id, const std::string& icon,
                                                        std::shared_ptr<Label>& label) {
    auto row = std::make_shared<View>(Rect(0, 0, kContentWidth, 0));
    row->setId(id);
    row->setBackgroundColor(Color::white(1, 0.8));
    auto iconView = std::make_shared<ImageView>(ImageAsset::named(icon));
    iconView->setFrame(Rect(12, 11, 16, 16));
    row->addSubview(iconView);
    label = makeLabel(id + "Label", rowFont(), Color::white(0.2));
    row->addSubview(label);
    auto separator = std::make_shared<View>(Rect(10, 0, kContentWidth - 20, 1));
    separator->setId("separator");
    separator->setBackgroundColor(Color::white(0.85));
    row->addSubview(separator);
    basicSection->addSubview(row);
    return row;
}

void IdeaDetailViewController::viewWillAppear(bool) {
    if (idea) {
        // The count may have changed on the taker list or elsewhere.
        showIdea();
    }
    Analytics::beginLogPageView(className());
}

void IdeaDetailViewController::viewWillDisappear(bool) {
    Analytics::endLogPageView(className());
}

void IdeaDetailViewController::loadIdea() {
    auto hud = OperationProgress::show(&view(), "加载中...");
    auto request = HttpRequestSender::getRequestWithUrl(UrlUtils::urlStringWithUri("idea/showIdea"),
                                                        {{"ideaId", ideaId}});
    if (!request) {
        OperationProgress::hide(hud);
        return;
    }
    auto weak = weakSelf(this);
    request->setCompletionBlock([hud, weak](HttpRequest& done) {
        OperationProgress::hide(hud);
        auto envelope = parseJson(done.responseString());
        if (!envelope || !HttpRequestSender::isSuccess(*envelope)) {
            HttpRequestDelegate::requestFailedHandle(done);
            return;
        }
        if (auto self = weak.lock()) {
            self->idea = Idea::convertFromDictionary(jsonObject(*envelope, "result"));
            self->scrollView->setHidden(false);
            self->showIdea();
        }
    });
    request->setFailedBlock([hud](HttpRequest& failed) {
        OperationProgress::hide(hud);
        HttpRequestDelegate::requestFailedHandle(failed);
    });
    request->startAsynchronous();
}

std::string IdeaDetailViewController::placeText(const Idea& idea) {
    if (idea.place.empty()) {
        return {};
    }
    std::string text;
    if (!idea.cityName.empty()) {
        text += idea.cityName + " ";
    }
    if (!idea.townName.empty()) {
        text += idea.townName + " ";
    }
    return text + idea.place;
}

std::string IdeaDetailViewController::timeText(const Idea& idea) {
    if (!idea.hasTime()) {
        return {};
    }
    if (idea.hasStartTime() && idea.hasEndTime()) {
        return idea.startTime + " - " + idea.endTime;
    }
    // A start alone is shown too: dropping it would hide the only time known.
    return idea.hasEndTime() ? idea.endTime : idea.startTime;
}

std::string IdeaDetailViewController::priceText(const Idea& idea) {
    return idea.charge >= 1 ? std::to_string(idea.charge) + "元" : std::string();
}

void IdeaDetailViewController::showIdea() {
    if (!idea || !isViewLoaded()) {
        return;
    }
    auto category = BaseData::getCategory(idea->categoryId);
    categoryImageView->setHidden(!category);
    if (category) {
        categoryImageView->setImage(ImageAsset::named(category->icon));
    }
    pictureView->setHidden(idea->bigPic.empty());
    loadPicture();

    contentLabel->setText(idea->content);
    usersButton->setHidden(!idea->hasPerson());
    usersButton->setTitle(std::to_string(idea->useCount) + "人想去");

    placeLabel->setText(placeText(*idea));
    timeLabel->setText(timeText(*idea));
    priceLabel->setText(priceText(*idea));
    detailLabel->setText(idea->detail);
    wantToButton->setEnabled(!idea->hasUsed);
    layoutSections();
}

void IdeaDetailViewController::loadPicture() {
    if (idea->bigPic.empty() || idea->bigPic == shownPictureUrl_) {
        return;
    }
    shownPictureUrl_ = idea->bigPic;
    pictureView->setFrame(Rect(kMargin, kMargin, kContentWidth, kPlaceholderHeight));
    auto weak = weakSelf(this);
    ImageViewWebCache::setImageWithURL(
        *pictureView, idea->bigPic, kPicturePlaceholder, [weak](const ImagePtr& image) {
            auto self = weak.lock();
            if (!self || !image) {
                return;
            }
            auto scaled = imageByScalingByWidth(*image, kContentWidth * 2);
            if (!scaled || scaled->width() <= 0) {
                return;
            }
            // Shown at half its pixel size, for the double-density screen.
            double height = scaled->height() * kContentWidth / scaled->width();
            self->pictureView->setImage(ImageAsset::fromImage(scaled));
            self->pictureView->setFrame(Rect(kMargin, kMargin, kContentWidth, height));
            self->layoutSections();
        });
}

void IdeaDetailViewController::layoutSections() {
    double y = kMargin;
    if (!pictureView->isHidden()) {
        categoryImageView->setFrame(Rect(kMargin + 8, y + 8, 30, 30));
        y = pictureView->frame().maxY() + kMargin;
    } else if (!categoryImageView->isHidden()) {
        categoryImageView->setFrame(Rect(kMargin, y, 30, 30));
        y += 30 + kMargin;
    }

    double contentHeight = measuredHeight(idea->content, contentFont(), kTextWidth, 1000);
    contentLabel->setFrame(Rect(kTextX, y, kTextWidth, contentHeight));
    y += contentHeight + kMargin;

    if (!usersButton->isHidden()) {
        usersButton->setFrame(Rect(kTextX, y, kTextWidth, 30));
        y += 30 + kMargin;
    }

    // Basic information: the visible rows stacked under the title; the last one has no separator.
    double rowsHeight = 0;
    View* lastRow = nullptr;
    for (auto* row : {placeRow.get(), timeRow.get(), priceRow.get()}) {
        auto* label = static_cast<Label*>(row->subviews()[1].get());
        bool visible = !label->text().empty();
        row->setHidden(!visible);
        if (!visible) {
            continue;
        }
        double maxHeight = row == placeRow.get() ? 200 : 0;
        double textHeight = measuredHeight(label->text(), rowFont(), kRowTextWidth, maxHeight);
        label->setFrame(Rect(40, 11, kRowTextWidth, textHeight));
        double rowHeight = textHeight + 22;
        row->setFrame(Rect(0, kSectionTitleHeight + rowsHeight, kContentWidth, rowHeight));
        row->subviews()[2]->setFrame(Rect(10, rowHeight - 1, kContentWidth - 20, 1));
        row->subviews()[2]->setHidden(false);
        rowsHeight += rowHeight;
        lastRow = row;
    }
    if (lastRow != nullptr) {
        lastRow->subviews()[2]->setHidden(true);
    }
    basicSection->setHidden(lastRow == nullptr);
    if (lastRow != nullptr) {
        y += 5;  // sections sit 15 points below what is above them
        basicSection->setFrame(Rect(kMargin, y, kContentWidth, kSectionTitleHeight + rowsHeight));
        y = basicSection->frame().maxY() + 15;
    }

    detailSection->setHidden(idea->detail.empty());
    if (!idea->detail.empty()) {
        double textHeight = measuredHeight(idea->detail, rowFont(), kTextWidth, 10000);
        detailLabel->setFrame(Rect(kMargin, kSectionTitleHeight + 10, kTextWidth, textHeight));
        detailSection->setBackgroundColor(Color::white(1, 0.8));
        detailSection->setFrame(Rect(kMargin, y, kContentWidth, kSectionTitleHeight + textHeight + 20));
        y = detailSection->frame().maxY() + 15;
    }

    wantToButton->setFrame(Rect(kMargin, y, kContentWidth, 44));
    y = wantToButton->frame().maxY() + kMargin;
    scrollView->setContentSize(Size{view().bounds().width(), y});
}

void IdeaDetailViewController::postIdea() {
    IdeaPtr marked = idea;
    auto weak = weakSelf(this);
    IdeaService::postIdea(marked, [weak, marked] {
        auto self = weak.lock();
        if (!self || self->idea != marked) {
            return;
        }
        self->showIdea();
        if (IdeaService::suggestsTakers(*marked)) {
            MainLoop::main().runAfter(kTakersDelay, [weak] {
                if (auto later = weak.lock()) {
                    later->autoShowUsedUsers();
                }
            });
        }
    });
}

void IdeaDetailViewController::showUsedUsers() {
    NavigationController* navigation = navigationController();
    if (navigation == nullptr || !idea) {
        return;
    }
    auto takers = std::make_shared<IdeaUsersViewController>();
    takers->idea = idea;
    takers->setHidesBottomBarWhenPushed(true);
    navigation->pushViewController(takers, true);
}

void IdeaDetailViewController::autoShowUsedUsers() {
    NavigationController* navigation = navigationController();
    // Only while this page is still the one shown.
    if (navigation == nullptr || !idea || navigation->topViewController() != this) {
        return;
    }
    auto takers = std::make_shared<IdeaUsersViewController>();
    takers->idea = idea;
    takers->dateTip = true;
    takers->setHidesBottomBarWhenPushed(true);
    navigation->pushViewController(takers, true);
}

void IdeaDetailViewController::showLocation() {
    NavigationController* navigation = navigationController();
    if (navigation == nullptr || !idea) {
        return;
    }
    auto map = std::make_shared<IdeaLocationViewController>();
    map->ideaId = idea->ideaId;
    map->place = idea->place;
    map->setHidesBottomBarWhenPushed(true);
    navigation->pushViewController(map, true);
}

View* IdeaDetailViewController::messageView() {
    if (TabBarController* tabs = tabBarController()) {
        return &tabs->view();
    }
    return &view();
}

void IdeaDetailViewController::openShareLog() {
    if (!idea) {
        return;
    }
    auto user = UserContext::getUser();
    auto platform = user ? user->tpChineseName() : std::nullopt;
    std::vector<std::string> entries;
    if (platform && !platform->empty()) {
        entries = {"分享到" + *platform, "分享到邮件", "分享到短信"};
        shareToThirdparyButtonIdex = 0;
        shareToMailButtonIdex = 1;
        shareToSmsButtonIdex = 2;
    } else {
        entries = {"分享到邮件", "分享到短信"};
        shareToMailButtonIdex = 0;
        shareToSmsButtonIdex = 1;
        shareToThirdparyButtonIdex = -1;
    }
    if (shareSheet) {
        shareSheet->setDelegate(nullptr);
    }
    shareSheet = ActionSheet::create(kShareTitle, this, "取消", "", entries);
    shareSheet->setId("shareSheet");
    shareSheet->showInView(messageView());
}

void IdeaDetailViewController::actionSheetDidDismiss(ActionSheet& sheet, int buttonIndex) {
    if (&sheet != shareSheet.get()) {
        return;
    }
    if (buttonIndex == shareToSmsButtonIdex) {
        displaySMSComposerSheet();
    } else if (buttonIndex == shareToMailButtonIdex) {
        displayMailPicker();
    } else if (buttonIndex == shareToThirdparyButtonIdex && buttonIndex >= 0) {
        auto share = std::make_shared<ShareIdeaInputViewController>();
        share->idea = idea;
        share->navTitle = sheet.buttonTitle(buttonIndex);
        presentModalViewController(std::make_shared<CustomNavigationController>(share), true);
    }
}

void IdeaDetailViewController::displaySMSComposerSheet() {
    // This toolkit always has a composer; only whether the device can send is asked.
    if (!MessageComposeViewController::canSendText()) {
        MessageShow::error("设备没有短信功能", messageView());
        return;
    }
    auto composer = std::make_shared<MessageComposeViewController>();
    composer->setBody(idea->shareSmsText());
    composer->setMessageComposeDelegate(this);
    presentModalViewController(composer, true);
}

void IdeaDetailViewController::displayMailPicker() {
    if (!MailComposeViewController::canSendMail()) {
        MessageShow::error("用户没有设置邮件账户", messageView());
        return;
    }
    auto composer = std::make_shared<MailComposeViewController>();
    composer->setSubject(kShareTitle);
    composer->setMessageBody(idea->shareMailText(), true);
    composer->setMailComposeDelegate(this);
    presentModalViewController(composer, true);
}

void IdeaDetailViewController::messageComposeViewController(MessageComposeViewController& controller,
                                                            ComposeResult result) {
    controller.setMessageComposeDelegate(nullptr);
    switch (result) {
        case ComposeResult::Sent:
            log().info("Result: SMS sent");
            break;
        case ComposeResult::Cancelled:
            log().info("Result: SMS sending canceled");
            break;
        case ComposeResult::Failed:
            log().info("Result: SMS not sent");
            break;
    }
    dismissModalViewController(true);
    if (result == ComposeResult::Failed) {
        MessageShow::error("短信发送失败", messageView());
    }
}

void IdeaDetailViewController::mailComposeController(MailComposeViewController& controller,
                                                     ComposeResult result) {
    controller.setMailComposeDelegate(nullptr);
    log().info("mail composer finished: {}", composeResultName(result));
    dismissModalViewController(true);
}

}  // namespace zorlet
