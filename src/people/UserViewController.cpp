#include "people/UserViewController.h"

#include "app/CustomNavigationController.h"
#include "external/ExternalCategoryListViewController.h"
#include "model/User.h"
#include "model/UserHome.h"
#include "net/HttpRequestSender.h"
#include "net/UrlUtils.h"
#include "people/PostDetailViewController.h"
#include "people/UserListCell.h"
#include "platform/Analytics.h"
#include "platform/MainLoop.h"
#include "platform/UserDefaults.h"
#include "platform/WeakSelf.h"
#include "session/UserContext.h"
#include "ui/Application.h"
#include "ui/TabBarController.h"

#include <chrono>

namespace zorlet {

namespace {

double lastReportedLatitude = 0;
double lastReportedLongitude = 0;

constexpr const char* kPromotionMessage = "Zorlet出了城市指南：吃喝玩乐的好去处，周末不再宅在家。去看看吧！";

double secondsSince1970() {
    auto now = MainLoop::main().clock().now();
    return std::chrono::duration<double>(now.time_since_epoch()).count();
}

}  // namespace

UserViewController::~UserViewController() {
    if (promotionTimer_ != 0) {
        MainLoop::main().cancel(promotionTimer_);
    }
    if (locationMap) {
        locationMap->setDelegate(nullptr);
        locationMap->setShowsUserLocation(false);
    }
}

double UserViewController::lastLatitude() {
    return lastReportedLatitude;
}

double UserViewController::lastLongitude() {
    return lastReportedLongitude;
}

void UserViewController::resetLastLocation() {
    lastReportedLatitude = 0;
    lastReportedLongitude = 0;
}

void UserViewController::viewDidLoad() {
    view().setId("UserViewController");
    data = std::make_shared<ZLData>();
    listHttpRequestDelegate = makeListDelegate(data, User::kRecordClassName);

    segmentedControl =
        CustomSegmentedControl::create(3, Size{kSegmentWidth, kSegmentHeight}, nullptr, kActiveOrder, this);
    segmentedControl->setId("segmentedControl");
    segmentedControl->dimAllButtonsExcept(*segmentedControl->buttons().front());
    navigationItem().setTitleView(segmentedControl);

    auto me = UserContext::getUser();
    genderButtonView =
        GenderButton::create(me && me->gender == 1 ? GenderButton::kFemale : GenderButton::kAll);
    genderButtonView->setId("genderButton");
    genderButtonView->setDelegate(this);
    navigationItem().setRightBarButtonItem(std::make_shared<BarButtonItem>(genderButtonView));

    auto plus = Button::create();
    plus->setId("goToExternalCategoryList");
    plus->setImage(ImageAsset::named("top_nav_btn_plus_zl_link"));
    plus->setImage(ImageAsset::named("top_nav_btn_plus_zl_active"), Highlighted);
    plus->setFrame(Rect(0, 0, 40, 30));
    auto weak = weakSelf(this);
    plus->addTarget(TouchUpInside, [weak](Control&) {
        if (auto self = weak.lock()) {
            self->goToExternalCategoryList();
        }
    });
    navigationItem().setLeftBarButtonItem(std::make_shared<BarButtonItem>(plus));

    view().setBackgroundImage(ImageAsset::named("app_bg"));
    tableView = std::make_shared<TableView>(view().bounds(), TableView::Style::Plain);
    tableView->setId("tableView");
    tableView->setAutoresizingMask(View::FlexibleSize);
    tableView->setSeparatorStyle(TableView::SeparatorStyle::None);
    tableView->setDataSource(this);
    tableView->setDelegate(this);
    view().addSubview(tableView);

    if (me && me->cityId == 1) {
        schedulePromotion();
    }
    EGORefreshHeaderViewController::viewDidLoad();
}

void UserViewController::viewWillAppear(bool) {
    if (data && tableView) {
        tableView->reloadData();
    }
    Analytics::beginLogPageView(className());
}

void UserViewController::viewWillDisappear(bool) {
    Analytics::endLogPageView(className());
}

std::string UserViewController::listUri() const {
    int order = segmentedControl ? segmentedControl->tag() : kActiveOrder;
    return order == kNearbyOrder ? "post/v134/nearbyUsers" : "post/v134/userPosts";
}

Json UserViewController::listParams(std::int64_t page) const {
    Json params = {{"page", pageOrFirst(page)}};
    int order = segmentedControl ? segmentedControl->tag() : kActiveOrder;
    if (order == kActiveOrder) {
        params["orderType"] = "online";
    } else if (order == kNewestOrder) {
        params["orderType"] = "new";
    }
    int gender = genderButtonView ? genderButtonView->tag() : GenderButton::kAll;
    if (gender == GenderButton::kFemale || gender == GenderButton::kMale) {
        params["gender"] = gender;
    }
    return params;
}

void UserViewController::loadListDataWithPage(std::int64_t page) {
    auto request =
        HttpRequestSender::getRequestWithUrl(UrlUtils::urlStringWithUri(listUri()), listParams(page));
    sendListRequest(request, listHttpRequestDelegate);
    startLocationFix();
}

void UserViewController::startLocationFix() {
    // One fix at a time: while a fix is still awaited (no position known yet),
    // further loads wait for that same fix rather than piling up maps.
    if (locationMap) {
        return;
    }
    locationMap = std::make_shared<MapView>(Rect(0, 0, 0, 0));
    locationMap->setId("locationMap");
    locationMap->setHidden(true);
    locationMap->setDelegate(this);
    view().insertSubview(locationMap, 0);
    locationMap->setShowsUserLocation(true);
}

void UserViewController::endLocationFix(MapView& map) {
    if (locationMap.get() != &map) {
        return;
    }
    // The map is inside its own delegate call: keep it alive until that call is over.
    auto finished = std::move(locationMap);
    finished->setDelegate(nullptr);
    finished->setShowsUserLocation(false);
    finished->removeFromSuperview();
    MainLoop::main().post([finished] {});
}

void UserViewController::mapViewDidUpdateUserLocation(MapView& map, Coordinate location) {
    if (locationMap.get() != &map) {
        return;
    }
    if (location.latitude != lastReportedLatitude || location.longitude != lastReportedLongitude) {
        auto request = HttpRequestSender::backgroundGetRequestWithUrl(
            UrlUtils::urlStringWithUri("home/updateloc"),
            {{"longitude", location.longitude}, {"latitude", location.latitude}});
        if (request) {
            request->startAsynchronous();
        }
        if (auto home = UserContext::getUserHome()) {
            home->updateLatitude(location.latitude, location.longitude);
        }
        // Stored before the answer: a failed report is not repeated until the device moves.
        lastReportedLatitude = location.latitude;
        lastReportedLongitude = location.longitude;
    }
    endLocationFix(map);
}

void UserViewController::mapViewDidFailToLocateUser(MapView& map) {
    endLocationFix(map);
}

void UserViewController::goToExternalCategoryList() {
    Analytics::event("clickPlus");
    auto places = std::make_shared<ExternalCategoryListViewController>();
    places->setHidesBottomBarWhenPushed(true);
    presentModalViewController(std::make_shared<CustomNavigationController>(places), true);
}

int UserViewController::numberOfRows(TableView&, int) {
    return data ? static_cast<int>(data->cellRows()) : 0;
}

TableViewCellPtr UserViewController::cellForRow(TableView& table, IndexPath indexPath) {
    if (auto pager = pagerRowCell(data, table, indexPath)) {
        return pager;
    }
    auto row = static_cast<std::size_t>(indexPath.row);
    auto cell = std::dynamic_pointer_cast<UserListCell>(table.dequeueReusableCell(UserListCell::kIdentifier));
    if (!cell) {
        cell = UserListCell::cellFromNib();
    }
    cell->ownerViewController = weak_from_this();
    cell->redrawn(std::static_pointer_cast<User>(data->objectAtIndex(row)));
    return cell;
}

double UserViewController::heightForRow(TableView&, IndexPath indexPath) {
    if (auto height = pagerRowHeight(data, indexPath)) {
        return *height;
    }
    auto row = static_cast<std::size_t>(indexPath.row);
    return UserListCell::heightForCell(static_cast<const User&>(*data->objectAtIndex(row)));
}

void UserViewController::didSelectRow(TableView& table, IndexPath indexPath) {
    table.deselectRow(indexPath, true);
    if (selectPagerRow(data, indexPath)) {
        return;
    }
    auto row = static_cast<std::size_t>(indexPath.row);
    if (auto user = std::static_pointer_cast<User>(data->objectAtIndex(row)); user->post) {
        if (NavigationController* navigation = navigationController()) {
            // The same record: a response, a comment or an edit on the detail shows on this row.
            auto detail = std::make_shared<PostDetailViewController>();
            detail->user = user;
            detail->setHidesBottomBarWhenPushed(true);
            navigation->pushViewController(detail, true);
        }
    }
}

std::shared_ptr<Button> UserViewController::buttonFor(CustomSegmentedControl&, std::size_t index) {
    static const char* const titles[] = {"活跃", "附近", "最新"};
    auto button = Button::create();
    button->setId("segment" + std::to_string(index));
    button->setTitle(index < 3 ? titles[index] : "");
    button->setBackgroundImage(ImageAsset::named("top_nav_menu_btn_link"));
    button->setBackgroundImage(ImageAsset::named("top_nav_menu_btn_active"), Selected);
    button->setFrame(Rect(0, 0, kSegmentWidth, kSegmentHeight));
    return button;
}

void UserViewController::touchDownAtSegmentIndex(std::size_t index) {
    if (!segmentedControl || static_cast<int>(index) == segmentedControl->tag()) {
        return;
    }
    segmentedControl->setTag(static_cast<int>(index));
    if (index == kNearbyOrder) {
        Analytics::event("enterNearbyZhaoban");
    }
    autoRefresh();
}

View* UserViewController::actionSheetShowInView() {
    if (TabBarController* tabs = tabBarController()) {
        return &tabs->view();
    }
    return &view();
}

void UserViewController::genderButton(GenderButton&, int) {
    Analytics::event("siftGender");
    autoRefresh();
}

void UserViewController::schedulePromotion() {
    auto& defaults = UserDefaults::standard();
    double stored = defaults.doubleForKey(kPromotionTimeKey);
    double now = secondsSince1970();
    if (stored == 0) {
        defaults.setDouble(kPromotionTimeKey, now);
        defaults.synchronize();
        return;
    }
    if (now < stored + kPromotionInterval) {
        return;
    }
    auto weak = weakSelf(this);
    promotionTimer_ = MainLoop::main().runAfter(kPromotionDelay, [weak] {
        if (auto self = weak.lock()) {
            self->promotionTimer_ = 0;
            self->showPromotion();
        }
    });
    defaults.setDouble(kPromotionTimeKey, now);
    defaults.synchronize();
}

void UserViewController::showPromotion() {
    promotionAlert_ = AlertView::create(kPromotionTitle, kPromotionMessage, this, "下次再说", {"去看看"});
    promotionAlert_->setId("promotionAlert");
    promotionAlert_->show();
}

void UserViewController::alertViewWillDismiss(AlertView& alertView, int index) {
    if (&alertView != promotionAlert_.get()) {
        return;
    }
    if (index == alertView.firstOtherButtonIndex()) {
        auto& defaults = UserDefaults::standard();
        defaults.setDouble(kPromotionTimeKey, kPromotionNeverAgain);
        defaults.synchronize();
        Application::shared().openURL(kCompanionStoreUrl);
    }
}

}  // namespace zorlet
