#include "profile/HomeViewController.h"

#include "app/ConfigViewController.h"
#include "app/CustomNavigationController.h"
#include "app/LocalizedStrings.h"
#include "app/ScreenActions.h"
#include "model/EmptyText.h"
#include "model/Preference.h"
#include "model/UserHome.h"
#include "net/HttpRequestDelegate.h"
#include "net/HttpRequestSender.h"
#include "net/MessageShow.h"
#include "net/UrlUtils.h"
#include "people/InterestUserViewController.h"
#include "people/InviteInputViewController.h"
#include "people/UserPostViewController.h"
#include "platform/Analytics.h"
#include "platform/Log.h"
#include "platform/MainLoop.h"
#include "platform/TextLayout.h"
#include "platform/WeakSelf.h"
#include "profile/EditorListViewController.h"
#include "profile/ProfileSettingViewController.h"
#include "profile/UserPreferenceSettingViewController.h"
#include "session/AuthorizeBindViewController.h"
#include "session/AuthorizeExpiredViewController.h"
#include "session/UserContext.h"
#include "ui/ProgressHUD.h"
#include "ui/TabBarController.h"
#include "widgets/RoundedWebImage.h"

#include <random>

namespace zorlet {

namespace {

constexpr double kDetailWidth = 260;
constexpr double kDetailMaxHeight = 1000;
constexpr double kBelowExtra = 40;
constexpr const char* kCellIdentifier = "HomeInfoCell";

double belowHeight(const std::string& text) {
    return TextLayout::shared()
               .measure(text, Font::systemFont(14), kDetailWidth, kDetailMaxHeight, LineBreakMode::WordWrap)
               .height +
           kBelowExtra;
}

// A preference answered by a single choice or a range, without a supplement,
// fits on one line beside its title.
bool fitsOneLine(const Preference& preference) {
    return isNotEmpty(preference.displayAnswer) && isEmpty(preference.description) &&
           (preference.inputType == Preference::SingleChoice || preference.inputType == Preference::Range);
}

void pushHidingBar(NavigationController* navigation, const ViewControllerPtr& screen) {
    if (navigation == nullptr) {
        return;
    }
    screen->setHidesBottomBarWhenPushed(true);
    navigation->pushViewController(screen, true);
}

}  // namespace

HomeViewController::HomeViewController() {
    setTitle("我的");
}

HomeViewController::~HomeViewController() {
    if (shareSheet) {
        shareSheet->setDelegate(nullptr);
    }
}

void HomeViewController::viewDidLoad() {
    view().setId("HomeViewController");
    view().setBackgroundImage(ImageAsset::named("app_bg"));
    navigationItem().setLeftBarButtonItem(ScreenActions::barItem(
        "邀请", BarButtonItem::Style::Bordered, "invite", this, &HomeViewController::openShareLog));
    navigationItem().setRightBarButtonItem(ScreenActions::barItem(
        "编辑", BarButtonItem::Style::Bordered, "editor", this, &HomeViewController::editor));

    Rect bounds = view().bounds();
    backgroundView = std::make_shared<ImageView>(Rect(0, 0, bounds.width(), kHeaderHeight));
    backgroundView->setId("backgroundView");
    view().addSubview(backgroundView);

    logoView = std::make_shared<ImageView>(Rect(12, 20, 80, 80));
    logoView->setId("logoView");
    logoView->setCornerRadius(RoundedWebImage::kCornerRadius);
    logoView->setUserInteractionEnabled(true);
    view().addSubview(logoView);
    ScreenActions::onTap(*logoView, this, &HomeViewController::logoClick);

    logoVerifyLabel = std::make_shared<Label>(Rect(12, 84, 80, 16));
    logoVerifyLabel->setId("logoVerifyLabel");
    logoVerifyLabel->setText("头像审核中");
    logoVerifyLabel->setFont(Font::systemFont(11));
    logoVerifyLabel->setTextColor(Color::whiteColor());
    logoVerifyLabel->setBackgroundColor(Color{0, 0, 0, 0.5});
    logoVerifyLabel->setTextAlignment(TextAlignment::Center);
    logoVerifyLabel->setHidden(true);
    view().addSubview(logoVerifyLabel);

    infoLabel = std::make_shared<Label>(Rect(105, 30, 200, 25));
    infoLabel->setId("infoLabel");
    infoLabel->setFont(Font::systemFont(14));
    infoLabel->setTextColor(Color::whiteColor());
    infoLabel->setLineBreakMode(LineBreakMode::TailTruncation);
    view().addSubview(infoLabel);

    postListButton = Button::create();
    postListButton->setId("postListButton");
    postListButton->setTitleFont(Font::boldSystemFont(16));
    postListButton->setBackgroundImage(ImageAsset::named("home_post_count_btn"));
    postListButton->setFrame(Rect(105, 64, 80, 36));
    view().addSubview(postListButton);
    ScreenActions::connect(view(), "postListButton", this, &HomeViewController::goPostList);

    // The settings live in this tab: without this button nothing would lead to them.
    configButton = Button::create();
    configButton->setId("configButton");
    configButton->setTitle("设置");
    configButton->setTitleFont(Font::boldSystemFont(15));
    configButton->setBackgroundImage(ImageAsset::named("home_bottom_btn"));
    configButton->setFrame(Rect(bounds.width() - 80, 64, 68, 36));
    view().addSubview(configButton);
    ScreenActions::connect(view(), "configButton", this, &HomeViewController::goConfig);

    infoTableView = std::make_shared<TableView>(
        Rect(0, kHeaderHeight, bounds.width(), bounds.height() - kHeaderHeight), TableView::Style::Grouped);
    infoTableView->setId("infoTableView");
    infoTableView->setAutoresizingMask(View::FlexibleSize);
    infoTableView->setDataSource(this);
    infoTableView->setDelegate(this);
    view().addSubview(infoTableView);

    refreshHeaderView = std::make_shared<PullRefreshHeaderView>(bounds.width());
    Rect frame = refreshHeaderView->frame();
    frame.origin.y = -frame.size.height;
    refreshHeaderView->setFrame(frame);
    refreshHeaderView->setDelegate(this);
    infoTableView->addSubview(refreshHeaderView);
    refreshHeaderView->refreshLastUpdatedDate();

    if (UserPtr user = UserContext::getUser()) {
        setTitle(user->nickname);
    }
}

void HomeViewController::viewWillAppear(bool) {
    Analytics::beginLogPageView(className());
    showUserInfo();
    static std::mt19937 random{std::random_device{}()};
    unsigned number = static_cast<unsigned>(random()) % 10 + 1;
    backgroundView->setImage(ImageAsset::named("background_image" + std::to_string(number) + ".png"));
}

void HomeViewController::viewWillDisappear(bool) {
    Analytics::endLogPageView(className());
}

void HomeViewController::showUserInfo() {
    if (!isViewLoaded()) {
        return;
    }
    UserPtr user = UserContext::getUser();
    if (!user) {
        infoTableView->reloadData();
        return;
    }
    if (isNotEmpty(user->nickname)) {
        setTitle(user->nickname);
    }
    RoundedWebImage::load(*logoView, user->rawLogo, "face_loading");
    infoLabel->setText(user->basicInfoWithDistance());
    logoVerifyLabel->setHidden(user->logoVerifyState != 3);
    postListButton->setTitle(std::to_string(user->postCount));
    infoTableView->reloadData();
}

// Refreshing

void HomeViewController::pullRefreshHeaderDidTriggerRefresh(PullRefreshHeaderView&) {
    reloading = true;
    refresh();
}

void HomeViewController::scrollViewDidScroll(ScrollView& scrollView) {
    if (refreshHeaderView) {
        refreshHeaderView->scrollViewDidScroll(scrollView);
    }
}

void HomeViewController::scrollViewDidEndDragging(ScrollView& scrollView, bool) {
    if (refreshHeaderView) {
        refreshHeaderView->scrollViewDidEndDragging(scrollView);
    }
}

ViewController* HomeViewController::shellController() {
    if (TabBarController* tabs = tabBarController()) {
        return tabs;
    }
    if (NavigationController* navigation = navigationController()) {
        return navigation;
    }
    return this;
}

View* HomeViewController::messageView() {
    return &shellController()->view();
}

void HomeViewController::refresh() {
    reloading = true;
    auto request = HttpRequestSender::getRequestWithUrl(UrlUtils::urlStringWithUri("home/v132/refresh"));
    if (!request) {
        // Without a network the user was told; the header closes so that a later pull can try again.
        reloading = false;
        if (refreshHeaderView) {
            refreshHeaderView->scrollViewDataSourceDidFinishLoading(*infoTableView);
        }
        return;
    }
    request->setUseDownloadCache(false);
    auto hud = ProgressHUD::showHUDAddedTo(messageView(), true);
    hud->setId("progressHUD");
    hud->setDimBackground(true);
    hud->setLabelText("刷新中...");
    auto weak = weakSelf(this);
    MainLoop::main().runInBackground([request] { request->startSynchronous(); },
                                     [weak, request, hud] {
                                         // The indicator covers the tab shell: it goes even when this screen
                                         // has.
                                         hud->hide(true);
                                         if (auto self = weak.lock()) {
                                             self->refreshFinished(request);
                                         }
                                     });
}

void HomeViewController::refreshFinished(const std::shared_ptr<HttpRequest>& request) {
    if (request->error() || request->responseStatusCode() != 200) {
        HttpRequestDelegate::requestFailedHandle(*request);
        doneLoadingTableViewData();
        return;
    }
    auto envelope = parseJson(request->responseString());
    UserHomePtr home = UserContext::getUserHome();
    if (!envelope || !HttpRequestSender::isSuccess(*envelope) || !home) {
        doneLoadingTableViewData();
        return;
    }
    const Json& result = jsonObject(*envelope, "result");
    const Json& userView = jsonObject(result, "userView");
    // An answer about someone else (or for a session that has since changed) must not overwrite this user.
    if (!result.empty() && (userView.empty() || jsonInt(userView, "uid") == UserContext::getUid())) {
        home->updateFromDictionary(result);
    }
    infoTableView->reloadData();
    showUserInfo();
    lastUpdateDate = MainLoop::main().clock().now();
    doneLoadingTableViewData();
}

void HomeViewController::doneLoadingTableViewData() {
    reloading = false;
    if (refreshHeaderView && infoTableView) {
        refreshHeaderView->scrollViewDataSourceDidFinishLoading(*infoTableView);
    }
}

// Table

int HomeViewController::numberOfSections(TableView&) {
    UserHomePtr home = UserContext::getUserHome();
    std::size_t count = home ? home->preferences.size() : 0;
    return kFirstPreferenceSection + static_cast<int>(count / kPreferencesPerSection) +
           (count % kPreferencesPerSection != 0 ? 1 : 0);
}

int HomeViewController::numberOfRows(TableView&, int section) {
    if (section < kFirstPreferenceSection) {
        return 2;
    }
    UserHomePtr home = UserContext::getUserHome();
    std::size_t count = home ? home->preferences.size() : 0;
    std::size_t first = static_cast<std::size_t>(section - kFirstPreferenceSection) * kPreferencesPerSection;
    return first < count ? static_cast<int>(std::min<std::size_t>(kPreferencesPerSection, count - first)) : 0;
}

std::shared_ptr<Preference> HomeViewController::preferenceAt(IndexPath indexPath) const {
    UserHomePtr home = UserContext::getUserHome();
    if (!home || indexPath.section < kFirstPreferenceSection || indexPath.row < 0) {
        return nullptr;
    }
    std::size_t index =
        static_cast<std::size_t>(indexPath.section - kFirstPreferenceSection) * kPreferencesPerSection +
        static_cast<std::size_t>(indexPath.row);
    return index < home->preferences.size() ? home->preferences[index] : nullptr;
}

std::string HomeViewController::bindingText(const User& user, bool& unbound) {
    unbound = user.tpId <= 0;
    if (unbound) {
        return "未绑定";
    }
    if (user.tokenExpired) {
        return "授权已过期";
    }
    return "已绑定：" + LocalizedStrings::localizedString("tp.%d.name", user.tpId);
}

namespace {

TableViewCellPtr plainCell(TableView& table) {
    auto cell = table.dequeueReusableCell(kCellIdentifier);
    if (!cell) {
        cell = std::make_shared<TableViewCell>(TableViewCell::Style::Value1, kCellIdentifier);
    }
    cell->setBackgroundColor(Color::whiteColor());
    cell->setSelectionStyle(TableViewCell::SelectionStyle::Gray);
    cell->setAccessoryType(TableViewCell::AccessoryType::None);
    cell->imageView().setImage(nullptr);
    Label& label = cell->textLabel();
    label.setFont(Font::systemFont(16));
    label.setTextColor(Color::white(0.2));
    Label& detail = cell->detailTextLabel();
    detail.setText("");
    detail.setFont(Font::systemFont(14));
    detail.setTextColor(Color::white(0.6));
    detail.setNumberOfLines(1);
    detail.setTextAlignment(TextAlignment::Right);
    return cell;
}

// The title on the first line and the detail underneath in as many lines as it needs.
void layoutBelow(TableViewCell& cell, const std::string& detail) {
    cell.layoutSubviews();
    Label& detailLabel = cell.detailTextLabel();
    detailLabel.setNumberOfLines(0);
    detailLabel.setTextAlignment(TextAlignment::Left);
    detailLabel.setLineBreakMode(LineBreakMode::WordWrap);
    cell.textLabel().setFrame(Rect(10, 8, kDetailWidth, 20));
    detailLabel.setFrame(Rect(10, 30, kDetailWidth, belowHeight(detail) - kBelowExtra));
}

}  // namespace

TableViewCellPtr HomeViewController::cellForRow(TableView& table, IndexPath indexPath) {
    switch (indexPath.section) {
        case 0:
            return userDataTableView(table, indexPath);
        case 1:
            return userInfoTableView(table, indexPath);
        case 2:
            return userOtherInfoTableView(table, indexPath);
        default:
            return userPreferenceTableView(table, indexPath);
    }
}

TableViewCellPtr HomeViewController::userDataTableView(TableView& table, IndexPath indexPath) {
    auto cell = plainCell(table);
    UserPtr user = UserContext::getUser();
    std::int64_t count = 0;
    if (indexPath.row == 0) {
        count = user ? user->interestUserCount : 0;
        cell->textLabel().setText("我的关注 (" + std::to_string(count) + ")");
        cell->imageView().setImage(ImageAsset::named("myhome_my_gz_icon.png"));
    } else {
        count = user ? user->interestMeCount : 0;
        cell->textLabel().setText("我的粉丝 (" + std::to_string(count) + ")");
        cell->imageView().setImage(ImageAsset::named("myhome_my_fans_icon.png"));
    }
    cell->setAccessoryType(TableViewCell::AccessoryType::DisclosureIndicator);
    cell->layoutSubviews();
    return cell;
}

TableViewCellPtr HomeViewController::userInfoTableView(TableView& table, IndexPath indexPath) {
    auto cell = plainCell(table);
    UserPtr user = UserContext::getUser();
    cell->setAccessoryType(TableViewCell::AccessoryType::DisclosureIndicator);
    if (indexPath.row == 0) {
        cell->textLabel().setText("个人简介");
        std::string feature =
            user && isNotEmpty(user->feature) ? user->feature : std::string(kFeaturePlaceholder);
        cell->detailTextLabel().setText(feature);
        layoutBelow(*cell, feature);
        return cell;
    }
    cell->textLabel().setText("所在地");
    if (user && isNotEmpty(user->cityName)) {
        cell->detailTextLabel().setText(user->cityName);
    }
    cell->layoutSubviews();
    return cell;
}

TableViewCellPtr HomeViewController::userOtherInfoTableView(TableView& table, IndexPath indexPath) {
    auto cell = plainCell(table);
    UserPtr user = UserContext::getUser();
    if (indexPath.row == 0) {
        cell->textLabel().setText("社交网络");
        bool unbound = true;
        std::string text = user ? bindingText(*user, unbound) : "未绑定";
        cell->detailTextLabel().setText(text);
        if (unbound) {
            cell->detailTextLabel().setTextColor(Color::redColor());
        }
        bool bound = user && !unbound && !user->tokenExpired;
        cell->setAccessoryType(bound ? TableViewCell::AccessoryType::None
                                     : TableViewCell::AccessoryType::DisclosureIndicator);
        cell->setSelectionStyle(bound ? TableViewCell::SelectionStyle::None
                                      : TableViewCell::SelectionStyle::Gray);
    } else {
        cell->textLabel().setText("加入时间");
        UserHomePtr home = UserContext::getUserHome();
        cell->detailTextLabel().setText(home ? home->registerTimeText() : std::string());
        cell->setSelectionStyle(TableViewCell::SelectionStyle::None);
    }
    cell->layoutSubviews();
    return cell;
}

TableViewCellPtr HomeViewController::userPreferenceTableView(TableView& table, IndexPath indexPath) {
    auto cell = plainCell(table);
    auto preference = preferenceAt(indexPath);
    if (!preference) {
        return cell;
    }
    cell->setAccessoryType(TableViewCell::AccessoryType::DisclosureIndicator);
    cell->textLabel().setText(preference->title);
    std::string answer = preference->finalDisplayAnswer();
    cell->detailTextLabel().setText(answer);
    if (fitsOneLine(*preference)) {
        cell->layoutSubviews();
    } else {
        layoutBelow(*cell, answer);
    }
    return cell;
}

double HomeViewController::heightForRow(TableView&, IndexPath indexPath) {
    if (indexPath.section == 1 && indexPath.row == 0) {
        UserPtr user = UserContext::getUser();
        return user && isNotEmpty(user->feature) ? belowHeight(user->feature) : kEmptyFeatureRowHeight;
    }
    if (indexPath.section >= kFirstPreferenceSection) {
        auto preference = preferenceAt(indexPath);
        if (preference && !fitsOneLine(*preference)) {
            return belowHeight(preference->finalDisplayAnswer());
        }
    }
    return kRowHeight;
}

ViewPtr HomeViewController::viewForHeader(TableView&, int) {
    return std::make_shared<View>(Rect(0, 0, 320, 15));
}

void HomeViewController::didSelectRow(TableView& table, IndexPath indexPath) {
    table.deselectRow(indexPath, true);
    NavigationController* navigation = navigationController();
    UserPtr user = UserContext::getUser();
    if (navigation == nullptr || !user) {
        return;
    }
    if (indexPath.section == 0) {
        if (indexPath.row == 0) {
            goInterestList();
        } else {
            goInterestMeList();
        }
    } else if (indexPath.section == 1) {
        pushHidingBar(navigation, std::make_shared<ProfileSettingViewController>());
    } else if (indexPath.section == 2) {
        if (indexPath.row != 0) {
            return;
        }
        if (user->tpId >= 1 && user->tokenExpired) {
            pushHidingBar(navigation, std::make_shared<AuthorizeExpiredViewController>(user->tpId));
        } else if (user->tpId < 1) {
            pushHidingBar(navigation, std::make_shared<AuthorizeBindViewController>());
        }
    } else {
        pushHidingBar(navigation, std::make_shared<UserPreferenceSettingViewController>());
    }
}

// Actions

void HomeViewController::editor() {
    pushHidingBar(navigationController(), std::make_shared<EditorListViewController>());
}

void HomeViewController::goConfig() {
    if (NavigationController* navigation = navigationController()) {
        navigation->pushViewController(std::make_shared<ConfigViewController>(), true);
    }
}

void HomeViewController::logoClick() {
    auto form = std::make_shared<ProfileSettingViewController>();
    presentModalViewController(std::make_shared<CustomNavigationController>(form), true);
}

void HomeViewController::goInterestList() {
    UserPtr user = UserContext::getUser();
    if (user && user->interestUserCount > 0) {
        pushHidingBar(navigationController(), std::make_shared<InterestUserViewController>(true));
    }
}

void HomeViewController::goInterestMeList() {
    UserPtr user = UserContext::getUser();
    if (user && user->interestMeCount > 0) {
        pushHidingBar(navigationController(), std::make_shared<InterestUserViewController>(false));
    }
}

void HomeViewController::goPostList() {
    UserPtr user = UserContext::getUser();
    if (user && user->postCount > 0) {
        // Without a user the list shows the signed-in user's own posts.
        pushHidingBar(navigationController(), std::make_shared<UserPostViewController>());
    }
}

// Inviting friends

void HomeViewController::openShareLog() {
    UserPtr user = UserContext::getUser();
    auto platform = user ? user->tpChineseName() : std::nullopt;
    std::vector<std::string> entries;
    if (platform && !platform->empty()) {
        entries = {"通过" + *platform + "邀请", "通过邮件邀请", "通过短信邀请"};
        shareToThirdparyButtonIdex = 0;
        shareToMailButtonIdex = 1;
        shareToSmsButtonIdex = 2;
    } else {
        entries = {"通过邮件邀请", "通过短信邀请"};
        shareToMailButtonIdex = 0;
        shareToSmsButtonIdex = 1;
        shareToThirdparyButtonIdex = -1;
    }
    if (shareSheet) {
        shareSheet->setDelegate(nullptr);
    }
    shareSheet = ActionSheet::create(kInviteTitle, this, "取消", "", entries);
    shareSheet->setId("shareSheet");
    shareSheet->showInView(messageView());
}

void HomeViewController::actionSheetDidDismiss(ActionSheet& sheet, int buttonIndex) {
    if (&sheet != shareSheet.get() || buttonIndex < 0) {
        return;
    }
    if (buttonIndex == shareToSmsButtonIdex) {
        displaySMSComposerSheet();
    } else if (buttonIndex == shareToMailButtonIdex) {
        displayMailPicker();
    } else if (buttonIndex == shareToThirdparyButtonIdex) {
        auto invite = std::make_shared<InviteInputViewController>(sheet.buttonTitle(buttonIndex));
        presentModalViewController(std::make_shared<CustomNavigationController>(invite), true);
    }
}

void HomeViewController::displaySMSComposerSheet() {
    // This toolkit always has a composer; only whether the device can send is asked.
    if (!MessageComposeViewController::canSendText()) {
        MessageShow::error("设备没有短信功能", messageView());
        return;
    }
    auto composer = std::make_shared<MessageComposeViewController>();
    composer->setBody(std::string(kInviteSmsText) + UrlUtils::webBaseUrl());
    composer->setMessageComposeDelegate(this);
    presentModalViewController(composer, true);
}

void HomeViewController::displayMailPicker() {
    if (!MailComposeViewController::canSendMail()) {
        MessageShow::error("用户没有设置邮件账户", messageView());
        return;
    }
    auto composer = std::make_shared<MailComposeViewController>();
    composer->setSubject(kInviteMailSubject);
    composer->setMessageBody(
        std::string(kInviteMailText) + "<a href=\"" + UrlUtils::webBaseUrl() + "\">去看看</a>", true);
    composer->setMailComposeDelegate(this);
    presentModalViewController(composer, true);
}

void HomeViewController::messageComposeViewController(MessageComposeViewController& controller,
                                                      ComposeResult result) {
    controller.setMessageComposeDelegate(nullptr);
    log().info("invitation SMS composer finished: {}", composeResultName(result));
    dismissModalViewController(true);
    if (result == ComposeResult::Failed) {
        MessageShow::error("短信发送失败", messageView());
    }
}

void HomeViewController::mailComposeController(MailComposeViewController& controller, ComposeResult result) {
    controller.setMailComposeDelegate(nullptr);
    log().info("invitation mail composer finished: {}", composeResultName(result));
    dismissModalViewController(true);
}

}  // namespace zorlet
