#pragma once

#include "model/User.h"
#include "model/UserHome.h"
#include "people/WholeImageViewController.h"
#include "ui/ActionSheet.h"
#include "ui/AlertView.h"
#include "ui/Button.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/PopupPresenter.h"
#include "ui/TableView.h"
#include "ui/ViewController.h"

#include <memory>
#include <string>
#include <vector>

namespace zorlet {

// Another user's home as the viewer sees it: who they are, their profile
// and preference answers, and what one can do towards them (follow, write,
// invite, report, block).
class TaHomeViewController : public ViewController,
                             public TableViewDataSource,
                             public TableViewDelegate,
                             public AlertViewDelegate,
                             public ActionSheetDelegate,
                             public WholeImageViewDelegate {
public:
    // Row kinds of the first two sections.
    enum ProfileRow { Feature = 0, City = 1 };
    enum DetailRow { LastPlace = 0, Social = 1, Phone = 2, Activity = 3, JoinDate = 4 };
    static constexpr int kPreferencesPerSection = 4;
    static constexpr int kFirstPreferenceSection = 2;
    static constexpr int kCancelInterestAlertTag = 0;
    static constexpr int kShieldAlertTag = 1;

    ~TaHomeViewController() override;
    std::string className() const override { return "TaHomeViewController"; }

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    // Actions.
    void interestUser();
    void cancelInterestUser();
    void sendSms();
    void dateTa();
    void goToPostList();
    void more();
    void logoClick();

    // Rebuilds the row kinds of the first two sections from `user` and `userHome`.
    void rebuildRows();

    // TableViewDataSource / TableViewDelegate
    int numberOfSections(TableView&) override;
    int numberOfRows(TableView&, int section) override;
    TableViewCellPtr cellForRow(TableView& table, IndexPath indexPath) override;
    double heightForRow(TableView&, IndexPath indexPath) override;
    double heightForHeader(TableView&, int) override { return 15; }
    double heightForFooter(TableView&, int) override { return 0; }
    ViewPtr viewForHeader(TableView&, int) override;
    void didSelectRow(TableView& table, IndexPath indexPath) override;

    void alertViewClickedButton(AlertView& alertView, int index) override;
    void actionSheetClickedButton(ActionSheet& sheet, int index) override;
    void cancelButtonClicked(WholeImageViewController& controller) override;

    UserPtr user;
    std::shared_ptr<UserHome> userHome;
    bool isMe = false;
    std::vector<int> section2Rows;
    std::vector<int> section3Rows;

    std::shared_ptr<ImageView> logoView;
    std::shared_ptr<Label> infoLabel;
    std::shared_ptr<ImageView> locationIcon;
    std::shared_ptr<ImageView> backgroundView;
    std::shared_ptr<Button> postListButton;
    std::shared_ptr<TableView> infoTableView;
    std::shared_ptr<Button> interestButton;
    std::shared_ptr<Button> cancelInterestButton;
    std::shared_ptr<Button> smsButton;
    std::shared_ptr<Button> dateButton;

private:
    void loadHome();
    void preDisplay();
    void showInterest(bool interested);
    void shield();
    void report();
    // Preference index of a row in the preference sections.
    static std::size_t preferenceIndex(IndexPath indexPath);
    std::string rowTitle(IndexPath indexPath, std::string& detail, bool& detailBelow, bool& disclosure) const;

    std::unique_ptr<PopupPresenter> popup_;
    std::shared_ptr<WholeImageViewController> wholeImage_;
};

}  // namespace zorlet
