#include "people/TaHomeViewController.h"

#include "app/ScreenActions.h"
#include "app/WebViewController.h"
#include "messaging/DialogContentViewController.h"
#include "model/Preference.h"
#include "net/HttpRequestSender.h"
#include "net/UrlUtils.h"
#include "people/PrepareDateTaViewController.h"
#include "people/UserLocationViewController.h"
#include "people/UserPostViewController.h"
#include "platform/Analytics.h"
#include "platform/MainLoop.h"
#include "platform/TextLayout.h"
#include "platform/WeakSelf.h"
#include "session/UserContext.h"
#include "ui/Application.h"
#include "ui/NavigationController.h"
#include "ui/ProgressHUD.h"
#include "ui/Window.h"
#include "widgets/OperationProgress.h"
#include "widgets/RoundedWebImage.h"

#include <cmath>
#include <random>

namespace zorlet {

namespace {

constexpr double kHeaderHeight = 120;
constexpr double kButtonBarHeight = 50;
constexpr double kDetailWidth = 260;
constexpr double kRowHeight = 45;
constexpr const char* kCellIdentifier = "TaHomeInfoCell";

double belowHeight(const std::string& text) {
    return TextLayout::shared()
               .measure(text, Font::systemFont(14), kDetailWidth, 0, LineBreakMode::WordWrap)
               .height +
           40;
}

// A row either puts its detail at the right or stacks it under the label. The
// stacked frames are laid out here because the table sizes a row after
// `cellForRow`, and the plain layout would move the detail back to the right.
class InfoCell : public TableViewCell {
public:
    using TableViewCell::TableViewCell;

    void setDetailBelow(bool below) {
        detailBelow_ = below;
        detailTextLabel().setNumberOfLines(below ? 0 : 1);
        detailTextLabel().setLineBreakMode(below ? LineBreakMode::WordWrap : LineBreakMode::TailTruncation);
        detailTextLabel().setTextAlignment(below ? TextAlignment::Left : TextAlignment::Right);
        layoutSubviews();
    }

    void layoutSubviews() override {
        TableViewCell::layoutSubviews();
        if (!detailBelow_) {
            return;
        }
        textLabel().setFrame(Rect(10, 8, kDetailWidth, 20));
        detailTextLabel().setFrame(Rect(10, 30, kDetailWidth, std::max(0.0, frame().height() - 40)));
    }

private:
    bool detailBelow_ = false;
};

std::shared_ptr<Button> barButton(const std::string& id, const std::string& title, double x) {
    auto button = Button::create();
    button->setId(id);
    button->setTitle(title);
    button->setTitleFont(Font::boldSystemFont(15));
    button->setBackgroundImage(ImageAsset::named("home_bottom_btn"));
    button->setFrame(Rect(x, 8, 96, 34));
    return button;
}

}  // namespace

TaHomeViewController::~TaHomeViewController() {
    if (popup_) {
        popup_->dismissPopup(false);
    }
}

void TaHomeViewController::viewDidLoad() {
    Analytics::event("enterOtherHome");
    setTitle(user ? user->nickname : std::string());
    auto me = UserContext::getUser();
    isMe = user && me && user->uid == me->uid;
    view().setId("TaHomeViewController");
    view().setBackgroundImage(ImageAsset::named("app_bg"));
    navigationItem().setRightBarButtonItem(ScreenActions::barItem("更多", BarButtonItem::Style::Bordered,
                                                                  "more", this, &TaHomeViewController::more));

    Rect bounds = view().bounds();
    backgroundView = std::make_shared<ImageView>(Rect(0, 0, bounds.width(), kHeaderHeight));
    backgroundView->setId("backgroundView");
    view().addSubview(backgroundView);

    logoView = std::make_shared<ImageView>(Rect(12, 20, 80, 80));
    logoView->setId("logoView");
    logoView->setCornerRadius(RoundedWebImage::kCornerRadius);
    logoView->setUserInteractionEnabled(true);
    view().addSubview(logoView);
    ScreenActions::onTap(*logoView, this, &TaHomeViewController::logoClick);

    // Right-aligned and reaching 308 points, so the icon placed at 320 - w - 25
    // ends just before the text instead of covering its first character.
    infoLabel = std::make_shared<Label>(Rect(105, 30, 203, 25));
    infoLabel->setId("infoLabel");
    infoLabel->setTextAlignment(TextAlignment::Right);
    infoLabel->setFont(Font::systemFont(14));
    infoLabel->setTextColor(Color::whiteColor());
    infoLabel->setLineBreakMode(LineBreakMode::TailTruncation);
    view().addSubview(infoLabel);

    locationIcon = std::make_shared<ImageView>(Rect(0, 36, 10, 12));
    locationIcon->setId("locationIcon");
    locationIcon->setImage(ImageAsset::named("location_icon"));
    view().addSubview(locationIcon);

    postListButton = Button::create();
    postListButton->setId("postListButton");
    postListButton->setTitleFont(Font::boldSystemFont(16));
    postListButton->setBackgroundImage(ImageAsset::named("home_post_count_btn"));
    postListButton->setFrame(Rect(105, 64, 80, 36));
    view().addSubview(postListButton);
    ScreenActions::connect(view(), "postListButton", this, &TaHomeViewController::goToPostList);

    double tableBottom = isMe ? bounds.height() : bounds.height() - kButtonBarHeight;
    infoTableView = std::make_shared<TableView>(
        Rect(0, kHeaderHeight, bounds.width(), tableBottom - kHeaderHeight), TableView::Style::Grouped);
    infoTableView->setId("infoTableView");
    infoTableView->setAutoresizingMask(View::FlexibleWidth | View::FlexibleHeight);
    infoTableView->setDataSource(this);
    infoTableView->setDelegate(this);
    view().addSubview(infoTableView);

    auto bar =
        std::make_shared<View>(Rect(0, bounds.height() - kButtonBarHeight, bounds.width(), kButtonBarHeight));
    bar->setId("buttonBar");
    bar->setAutoresizingMask(View::FlexibleWidth | View::FlexibleTopMargin);
    bar->setBackgroundImage(ImageAsset::named("home_bottom_bar_bg"));
    bar->setHidden(isMe);
    view().addSubview(bar);
    interestButton = barButton("interestButton", "关注", 8);
    cancelInterestButton = barButton("cancelInterestButton", "取消关注", 8);
    smsButton = barButton("smsButton", "私信", 112);
    dateButton = barButton("dateButton", "约ta", 216);
    for (const auto& button : {interestButton, cancelInterestButton, smsButton, dateButton}) {
        bar->addSubview(button);
    }
    ScreenActions::connect(*bar, "interestButton", this, &TaHomeViewController::interestUser);
    ScreenActions::connect(*bar, "cancelInterestButton", this, &TaHomeViewController::cancelInterestUser);
    ScreenActions::connect(*bar, "smsButton", this, &TaHomeViewController::sendSms);
    ScreenActions::connect(*bar, "dateButton", this, &TaHomeViewController::dateTa);

    preDisplay();
    rebuildRows();
    loadHome();
}

void TaHomeViewController::viewWillAppear(bool) {
    static std::mt19937 random{std::random_device{}()};
    unsigned number = static_cast<unsigned>(random()) % 10 + 1;
    backgroundView->setImage(ImageAsset::named("background_image" + std::to_string(number) + ".png"));
    Analytics::beginLogPageView(className());
}

void TaHomeViewController::viewWillDisappear(bool) {
    Analytics::endLogPageView(className());
}

void TaHomeViewController::loadHome() {
    if (!user) {
        return;
    }
    auto hud = OperationProgress::show(&view(), "加载中...");
    auto request = HttpRequestSender::getRequestWithUrl(UrlUtils::urlStringWithUri("home/v132/userInfo"),
                                                        {{"uid", user->uid}});
    if (!request) {
        OperationProgress::hide(hud);
        return;
    }
    auto weak = weakSelf(this);
    HttpRequestSender::doRequest(request, &view(), [weak, hud](const Json& envelope) {
        OperationProgress::hide(hud);
        auto self = weak.lock();
        auto result = envelope.find("result");
        if (!self || result == envelope.end() || !result->is_object()) {
            return;
        }
        self->userHome = UserHome::convertFromDictionary(*result);
        if (self->userHome->user) {
            self->user = self->userHome->user;
        }
        self->preDisplay();
        self->rebuildRows();
        self->infoTableView->reloadData();
    });
}

void TaHomeViewController::preDisplay() {
    if (!user) {
        return;
    }
    RoundedWebImage::load(*logoView, user->bigLogo, "face_loading");
    std::string info = user->basicInfoWithDistance();
    infoLabel->setText(info);
    bool located = user->hasDistance();
    locationIcon->setHidden(!located);
    if (located) {
        double width =
            std::min(infoLabel->frame().width(),
                     std::ceil(TextLayout::shared().measure(info, infoLabel->font(), 0, 25).width));
        locationIcon->setFrame(Rect(320 - width - 25, locationIcon->frame().y(), 10, 12));
    }
    postListButton->setTitle(std::to_string(user->postCount));

    bool follows = user->hasInterest != 0;
    interestButton->setHidden(isMe || follows);
    interestButton->setEnabled(!isMe && !follows);
    cancelInterestButton->setHidden(isMe || !follows);
    cancelInterestButton->setEnabled(!isMe && follows);
    smsButton->setHidden(isMe);
    smsButton->setEnabled(!isMe);
    dateButton->setHidden(isMe);
    dateButton->setEnabled(!isMe);
}

void TaHomeViewController::rebuildRows() {
    section2Rows.clear();
    section3Rows.clear();
    if (!user) {
        return;
    }
    if (!user->feature.empty()) {
        section2Rows.push_back(Feature);
    }
    if (!user->cityName.empty()) {
        section2Rows.push_back(City);
    }
    UserHome empty;
    const UserHome& home = userHome ? *userHome : empty;
    if ((!home.userPlace.empty() || home.latitude != 0 || home.longitude != 0) && !home.locationSecret) {
        section3Rows.push_back(LastPlace);
    }
    if (user->tpChineseName() && !home.socialSecret) {
        section3Rows.push_back(Social);
    }
    if (!home.phoneType.empty() && !home.phoneSecret) {
        section3Rows.push_back(Phone);
    }
    if (user->onlineStatus >= 0 && user->onlineStatus <= 2) {
        section3Rows.push_back(Activity);
    }
    section3Rows.push_back(JoinDate);
}

int TaHomeViewController::numberOfSections(TableView&) {
    std::size_t preferences = userHome ? userHome->preferences.size() : 0;
    std::size_t sections =
        preferences / kPreferencesPerSection + (preferences % kPreferencesPerSection > 0 ? 1 : 0);
    return kFirstPreferenceSection + static_cast<int>(sections);
}

int TaHomeViewController::numberOfRows(TableView&, int section) {
    if (section == 0) {
        return static_cast<int>(section2Rows.size());
    }
    if (section == 1) {
        return static_cast<int>(section3Rows.size());
    }
    std::size_t preferences = userHome ? userHome->preferences.size() : 0;
    std::size_t first = static_cast<std::size_t>(section - kFirstPreferenceSection) * kPreferencesPerSection;
    if (first >= preferences) {
        return 0;
    }
    return static_cast<int>(std::min<std::size_t>(kPreferencesPerSection, preferences - first));
}

std::size_t TaHomeViewController::preferenceIndex(IndexPath indexPath) {
    return static_cast<std::size_t>(indexPath.section - kFirstPreferenceSection) * kPreferencesPerSection +
           static_cast<std::size_t>(indexPath.row);
}

std::string TaHomeViewController::rowTitle(IndexPath indexPath, std::string& detail, bool& detailBelow,
                                           bool& disclosure) const {
    detailBelow = false;
    disclosure = false;
    if (indexPath.section == 0) {
        if (section2Rows.at(static_cast<std::size_t>(indexPath.row)) == Feature) {
            detail = user->feature;
            detailBelow = true;
            return "个人简介";
        }
        detail = user->cityName;
        return "所在地";
    }
    if (indexPath.section == 1) {
        switch (section3Rows.at(static_cast<std::size_t>(indexPath.row))) {
            case LastPlace:
                detail = userHome && !userHome->userPlace.empty() ? userHome->userPlace : "请点击查看...";
                detailBelow = true;
                disclosure = true;
                return "最后出现在";
            case Social:
                detail = user->tpChineseName().value_or("");
                disclosure = userHome && !userHome->socialLink.empty();
                return "社交网络";
            case Phone:
                detail = userHome ? userHome->phoneType : std::string();
                return "ta的手机";
            case Activity:
                detail = user->onlineText();
                return "活跃度";
            default:
                detail = userHome ? userHome->registerTimeText() : std::string();
                return "加入时间";
        }
    }
    const Preference& preference = *userHome->preferences.at(preferenceIndex(indexPath));
    detail = preference.finalDisplayAnswer();
    detailBelow = !preference.description.empty() || (preference.inputType != Preference::SingleChoice &&
                                                      preference.inputType != Preference::Range);
    return preference.title;
}

TableViewCellPtr TaHomeViewController::cellForRow(TableView& table, IndexPath indexPath) {
    auto cell = std::dynamic_pointer_cast<InfoCell>(table.dequeueReusableCell(kCellIdentifier));
    if (!cell) {
        cell = std::make_shared<InfoCell>(TableViewCell::Style::Value1, kCellIdentifier);
    }
    std::string detail;
    bool below = false;
    bool disclosure = false;
    std::string title = rowTitle(indexPath, detail, below, disclosure);
    cell->setBackgroundColor(Color::whiteColor());
    cell->setSelectionStyle(disclosure ? TableViewCell::SelectionStyle::Gray
                                       : TableViewCell::SelectionStyle::None);
    cell->setAccessoryType(disclosure ? TableViewCell::AccessoryType::DisclosureIndicator
                                      : TableViewCell::AccessoryType::None);
    Label& label = cell->textLabel();
    label.setText(title);
    label.setFont(Font::systemFont(16));
    label.setTextColor(Color::white(0.2));
    Label& detailLabel = cell->detailTextLabel();
    detailLabel.setText(detail);
    detailLabel.setFont(Font::systemFont(14));
    detailLabel.setTextColor(Color::white(0.6));
    if (indexPath.section == 1 && section3Rows.at(static_cast<std::size_t>(indexPath.row)) == Activity) {
        detailLabel.setTextColor(user->onlineTextColor());
    }
    cell->setDetailBelow(below);
    return cell;
}

double TaHomeViewController::heightForRow(TableView&, IndexPath indexPath) {
    if (indexPath.section == 0) {
        return section2Rows.at(static_cast<std::size_t>(indexPath.row)) == Feature
                   ? belowHeight(user->feature)
                   : kRowHeight;
    }
    if (indexPath.section == 1) {
        if (section3Rows.at(static_cast<std::size_t>(indexPath.row)) == LastPlace) {
            return belowHeight(userHome ? userHome->userPlace : std::string());
        }
        return kRowHeight;
    }
    const Preference& preference = *userHome->preferences.at(preferenceIndex(indexPath));
    if (!preference.description.empty() || preference.inputType == Preference::FreeText ||
        preference.inputType == Preference::MultipleChoice) {
        return belowHeight(preference.finalDisplayAnswer());
    }
    return kRowHeight;
}

ViewPtr TaHomeViewController::viewForHeader(TableView&, int) {
    return std::make_shared<View>(Rect(0, 0, 320, 15));
}

void TaHomeViewController::didSelectRow(TableView& table, IndexPath indexPath) {
    table.deselectRow(indexPath, true);
    NavigationController* navigation = navigationController();
    if (indexPath.section != 1 || navigation == nullptr || !userHome) {
        return;
    }
    int kind = section3Rows.at(static_cast<std::size_t>(indexPath.row));
    if (kind == LastPlace) {
        auto map = std::make_shared<UserLocationViewController>(userHome->latitude, userHome->longitude);
        map->setHidesBottomBarWhenPushed(true);
        navigation->pushViewController(map, true);
    } else if (kind == Social && !userHome->socialLink.empty()) {
        auto web =
            std::make_shared<WebViewController>(userHome->socialLink, user->tpChineseName().value_or(""));
        web->setHidesBottomBarWhenPushed(true);
        navigation->pushViewController(web, true);
    }
}

void TaHomeViewController::interestUser() {
    auto hud = OperationProgress::show(&view(), "操作中...");
    auto request = HttpRequestSender::postRequestWithUrl(UrlUtils::urlStringWithUri("home/interest"),
                                                         {{"uid", user->uid}});
    if (!request) {
        OperationProgress::hide(hud);
        return;
    }
    auto weak = weakSelf(this);
    HttpRequestSender::doRequest(request, &view(), [weak, hud](const Json&) {
        Analytics::event("interestUser");
        if (hud) {
            OperationProgress::succeed(*hud, "关注成功");
        }
        if (auto self = weak.lock()) {
            self->showInterest(true);
        }
    });
}

void TaHomeViewController::cancelInterestUser() {
    auto alert = AlertView::create("确定取消关注？", "", this, "返回", {"确定"});
    alert->setTag(kCancelInterestAlertTag);
    alert->show();
}

void TaHomeViewController::showInterest(bool interested) {
    user->hasInterest = interested ? 1 : 0;
    interestButton->setHidden(interested);
    interestButton->setEnabled(!interested);
    cancelInterestButton->setHidden(!interested);
    cancelInterestButton->setEnabled(interested);
}

void TaHomeViewController::alertViewClickedButton(AlertView& alertView, int index) {
    if (index == alertView.cancelButtonIndex()) {
        return;
    }
    if (alertView.tag() == kShieldAlertTag) {
        shield();
        return;
    }
    auto hud = OperationProgress::show(&view(), "操作中...");
    auto request = HttpRequestSender::postRequestWithUrl(UrlUtils::urlStringWithUri("home/removeInterest"),
                                                         {{"uid", user->uid}});
    if (!request) {
        OperationProgress::hide(hud);
        return;
    }
    auto weak = weakSelf(this);
    HttpRequestSender::doRequest(request, &view(), [weak, hud](const Json&) {
        if (hud) {
            OperationProgress::succeed(*hud, "取消成功");
        }
        if (auto self = weak.lock()) {
            self->showInterest(false);
        }
    });
}

void TaHomeViewController::sendSms() {
    if (NavigationController* navigation = navigationController()) {
        auto dialog = std::make_shared<DialogContentViewController>();
        dialog->targetUser = user;
        dialog->setHidesBottomBarWhenPushed(true);
        navigation->pushViewController(dialog, true);
    }
}

void TaHomeViewController::dateTa() {
    if (NavigationController* navigation = navigationController()) {
        auto invitation = std::make_shared<PrepareDateTaViewController>();
        invitation->user = user;
        invitation->setHidesBottomBarWhenPushed(true);
        navigation->pushViewController(invitation, true);
    }
}

void TaHomeViewController::goToPostList() {
    NavigationController* navigation = navigationController();
    if (navigation == nullptr || !user || user->postCount <= 0) {
        return;
    }
    auto posts = std::make_shared<UserPostViewController>();
    posts->user = user;
    posts->setHidesBottomBarWhenPushed(true);
    navigation->pushViewController(posts, true);
}

void TaHomeViewController::more() {
    auto sheet = ActionSheet::create("更多", this, "取消", "", {"举报ta", "屏蔽ta"});
    View* shell = Application::shared().keyWindow();
    sheet->showInView(shell != nullptr ? shell : &view());
}

void TaHomeViewController::actionSheetClickedButton(ActionSheet& sheet, int index) {
    std::string title = sheet.buttonTitle(index);
    if (title == "举报ta") {
        report();
    } else if (title == "屏蔽ta") {
        auto alert =
            AlertView::create("确定要把" + user->nickname + "加入黑名单么？", "", this, "返回", {"确定"});
        alert->setTag(kShieldAlertTag);
        alert->show();
    }
}

void TaHomeViewController::shield() {
    View* navigationView = navigationController() != nullptr ? &navigationController()->view() : &view();
    auto hud = OperationProgress::show(navigationView, "操作中...");
    auto request = HttpRequestSender::postRequestWithUrl(
        UrlUtils::urlStringWithUri("home/v133/blacklist/shield"), {{"shieldUid", user->uid}});
    if (!request) {
        OperationProgress::hide(hud);
        return;
    }
    HttpRequestSender::doRequest(request, navigationView, [hud](const Json&) {
        if (hud) {
            OperationProgress::succeed(*hud, "屏蔽成功");
        }
    });
}

void TaHomeViewController::report() {
    View* navigationView = navigationController() != nullptr ? &navigationController()->view() : &view();
    auto hud = OperationProgress::show(navigationView, "操作中...");
    auto request = HttpRequestSender::postRequestWithUrl(
        UrlUtils::urlStringWithUri("home/v133/report/save"),
        {{"reportUid", user->uid}, {"reportType", 0}, {"contentType", 3}, {"contentId", user->uid}});
    if (!request) {
        OperationProgress::hide(hud);
        return;
    }
    HttpRequestSender::doRequest(request, navigationView, [hud](const Json&) {
        if (hud) {
            OperationProgress::succeed(*hud, "感谢举报，我们核实后会尽快处理");
        }
    });
}

void TaHomeViewController::logoClick() {
    if (!user || !user->hasLogo) {
        return;
    }
    wholeImage_ = std::make_shared<WholeImageViewController>();
    if (auto shown = logoView->image()) {
        wholeImage_->image = shown->image();
    }
    wholeImage_->imageUrl = user->originalLogo;
    wholeImage_->delegate = this;
    popup_ = std::make_unique<PopupPresenter>();
    popup_->presentPopupView(wholeImage_->viewPtr(), true);
}

void TaHomeViewController::cancelButtonClicked(WholeImageViewController&) {
    if (popup_) {
        popup_->dismissPopup(true);
    }
    // The popup's own tap is still running: let it finish before the screen goes.
    auto finished = std::move(wholeImage_);
    MainLoop::main().post([finished] {});
}

}  // namespace zorlet
