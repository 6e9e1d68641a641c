#pragma once

#include "app/AutoRefreshable.h"
#include "net/EGORefreshHeaderViewController.h"
#include "net/ZLData.h"
#include "ui/Button.h"
#include "ui/PopoverController.h"
#include "ui/TableView.h"
#include "widgets/CustomSegmentedControl.h"

#include <cstdint>
#include <memory>
#include <string>

namespace zorlet {

// The ideas tab: ideas page by page, newest or hottest first, filtered by a
// category chosen in a popover; a row opens the idea, and its buttons mark
// want-to-go or show who wants to go.
class IdeaViewController : public EGORefreshHeaderViewController,
                           public TableViewDataSource,
                           public CustomSegmentedControlDelegate,
                           public PopoverControllerDelegate,
                           public AutoRefreshable {
public:
    static constexpr int kNewestOrder = 0;
    static constexpr int kHottestOrder = 1;
    static constexpr double kSegmentWidth = 65;
    static constexpr double kSegmentHeight = 30;
    static constexpr double kPopoverWidth = 150;
    static constexpr double kPopoverHeight = 256;

    ~IdeaViewController() override;
    std::string className() const override { return "IdeaViewController"; }

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    void loadListDataWithPage(std::int64_t page) override;
    void autoRefresh() override { EGORefreshHeaderViewController::autoRefresh(); }
    Json listParams(std::int64_t page) const;

    // The category button: opens the picker until it closes again.
    void showCategory();
    void popover();
    void selectByCategory(std::int64_t categoryId, const std::string& name);

    // TableViewDataSource / TableViewDelegate
    int numberOfRows(TableView&, int section) override;
    TableViewCellPtr cellForRow(TableView& table, IndexPath indexPath) override;
    double heightForRow(TableView&, IndexPath indexPath) override;
    void didSelectRow(TableView& table, IndexPath indexPath) override;

    // CustomSegmentedControlDelegate
    std::shared_ptr<Button> buttonFor(CustomSegmentedControl& control, std::size_t index) override;
    void touchDownAtSegmentIndex(std::size_t index) override;

    // PopoverControllerDelegate
    void popoverControllerDidDismissPopover(PopoverController&) override;

    ZLDataPtr data;
    ListHttpRequestDelegatePtr listHttpRequestDelegate;
    std::shared_ptr<CustomSegmentedControl> segmentedControl;
    // Its tag is the chosen category (0: all), its title the category's name.
    std::shared_ptr<Button> categoryButton;
    // Only while the picker is open.
    PopoverControllerPtr categoryPopver;

private:
    void showCategoryButtonClosed(bool closed);
};

}  // namespace zorlet
