#pragma once

#include "app/AutoRefreshable.h"
#include "net/EGORefreshHeaderViewController.h"
#include "net/ZLData.h"
#include "platform/MainLoop.h"
#include "ui/AlertView.h"
#include "ui/MapView.h"
#include "ui/TableView.h"
#include "widgets/CustomSegmentedControl.h"
#include "widgets/GenderButton.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace zorlet {

// The people tab: users page by page with their latest post, as the active,
// nearby or newest list, filtered by gender. Each load also takes one
// location fix and reports a changed position to the server.
class UserViewController : public EGORefreshHeaderViewController,
                           public TableViewDataSource,
                           public CustomSegmentedControlDelegate,
                           public GenderButtonDelegate,
                           public MapViewDelegate,
                           public AlertViewDelegate,
                           public AutoRefreshable {
public:
    static constexpr int kActiveOrder = 0;
    static constexpr int kNearbyOrder = 1;
    static constexpr int kNewestOrder = 2;
    static constexpr double kSegmentWidth = 65;
    static constexpr double kSegmentHeight = 30;
    static constexpr const char* kPromotionTimeKey = "beijingAlertShowTime";
    static constexpr double kPromotionNeverAgain = 9999999999.0;
    static constexpr double kPromotionInterval = 30;
    static constexpr Duration kPromotionDelay{3000};
    static constexpr const char* kPromotionTitle = "Zorlet新品";
    static constexpr const char* kCompanionStoreUrl =
        "https://apps.apple.com/cn/app/zorlet-city-guide/id600000001";

    ~UserViewController() override;
    std::string className() const override { return "UserViewController"; }

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    void loadListDataWithPage(std::int64_t page) override;
    void autoRefresh() override { EGORefreshHeaderViewController::autoRefresh(); }

    void goToExternalCategoryList();

    // The last position reported to the server in this process; 0 before the first fix.
    static double lastLatitude();
    static double lastLongitude();
    // Test support: forget the last reported position.
    static void resetLastLocation();

    // The request path and parameters of a page in the current order and filter.
    std::string listUri() const;
    Json listParams(std::int64_t page) const;

    // TableViewDataSource / TableViewDelegate
    int numberOfRows(TableView&, int section) override;
    TableViewCellPtr cellForRow(TableView& table, IndexPath indexPath) override;
    double heightForRow(TableView&, IndexPath indexPath) override;
    void didSelectRow(TableView& table, IndexPath indexPath) override;

    // CustomSegmentedControlDelegate
    std::shared_ptr<Button> buttonFor(CustomSegmentedControl& control, std::size_t index) override;
    void touchDownAtSegmentIndex(std::size_t index) override;

    // GenderButtonDelegate
    View* actionSheetShowInView() override;
    void genderButton(GenderButton& button, int gender) override;

    // MapViewDelegate
    void mapViewDidUpdateUserLocation(MapView& map, Coordinate location) override;
    void mapViewDidFailToLocateUser(MapView& map) override;

    // AlertViewDelegate (the promotion dialog)
    void alertViewWillDismiss(AlertView& alertView, int index) override;

    ZLDataPtr data;
    ListHttpRequestDelegatePtr listHttpRequestDelegate;
    std::shared_ptr<CustomSegmentedControl> segmentedControl;
    std::shared_ptr<GenderButton> genderButtonView;
    // The hidden map taking the current fix, while one is under way.
    std::shared_ptr<MapView> locationMap;

private:
    void startLocationFix();
    void endLocationFix(MapView& map);
    void schedulePromotion();
    void showPromotion();

    TimerId promotionTimer_ = 0;
    std::shared_ptr<AlertView> promotionAlert_;
};

}  // namespace zorlet
