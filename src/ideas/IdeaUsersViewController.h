#pragma once

#include "model/Idea.h"
#include "net/EGORefreshHeaderViewController.h"
#include "net/ZLData.h"
#include "ui/TableView.h"
#include "widgets/CustomSegmentedControl.h"
#include "widgets/GenderButton.h"

#include <cstdint>
#include <memory>
#include <string>

namespace zorlet {

// Who wants to go to an idea: in the signed-in user's city or nationwide,
// filtered by gender; a row opens the user's home, its button invites them.
class IdeaUsersViewController : public EGORefreshHeaderViewController,
                                public TableViewDataSource,
                                public CustomSegmentedControlDelegate,
                                public GenderButtonDelegate {
public:
    static constexpr int kSameCity = 0;
    static constexpr int kNationwide = 1;
    static constexpr double kHeaderHeight = 35;
    static constexpr const char* kDateTipText = "约个人同去吧";

    std::string className() const override { return "IdeaUsersViewController"; }

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    void loadListDataWithPage(std::int64_t page) override;
    Json listParams(std::int64_t page) const;

    // The header's three texts.
    std::string sameCityText() const;
    std::string nationwideText() const;

    // TableViewDataSource / TableViewDelegate
    int numberOfRows(TableView&, int section) override;
    TableViewCellPtr cellForRow(TableView& table, IndexPath indexPath) override;
    double heightForRow(TableView&, IndexPath indexPath) override;
    double heightForHeader(TableView&, int) override { return kHeaderHeight; }
    ViewPtr viewForHeader(TableView&, int section) override;
    void didSelectRow(TableView& table, IndexPath indexPath) override;

    // CustomSegmentedControlDelegate
    std::shared_ptr<Button> buttonFor(CustomSegmentedControl& control, std::size_t index) override;
    void touchDownAtSegmentIndex(std::size_t index) override;

    // GenderButtonDelegate
    View* actionSheetShowInView() override;
    void genderButton(GenderButton& button, int gender) override;

    IdeaPtr idea;
    bool dateTip = false;
    ZLDataPtr data;
    ListHttpRequestDelegatePtr listHttpRequestDelegate;
    std::shared_ptr<CustomSegmentedControl> segmentedControl;
    std::shared_ptr<GenderButton> genderButtonView;
};

}  // namespace zorlet
