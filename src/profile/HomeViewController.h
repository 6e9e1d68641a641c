#pragma once

#include "model/User.h"
#include "platform/Clock.h"
#include "platform/HttpRequest.h"
#include "ui/ActionSheet.h"
#include "ui/Button.h"
#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/MailComposeViewController.h"
#include "ui/MessageComposeViewController.h"
#include "ui/PullRefreshHeaderView.h"
#include "ui/TableView.h"
#include "ui/ViewController.h"

#include <memory>
#include <optional>
#include <string>

namespace zorlet {

class Preference;

// The signed-in user's own home, a tab root: who they are, their counters,
// profile and questionnaire answers, and the ways into editing them, the
// follow lists, the own posts and inviting friends. Everything shown is read
// from the signed-in user's records each time the screen draws, so edits
// saved elsewhere show without a refresh.
class HomeViewController : public ViewController,
                           public TableViewDataSource,
                           public TableViewDelegate,
                           public PullRefreshHeaderDelegate,
                           public ActionSheetDelegate,
                           public MessageComposeViewControllerDelegate,
                           public MailComposeViewControllerDelegate {
public:
    static constexpr int kPreferencesPerSection = 4;
    static constexpr int kFirstPreferenceSection = 3;
    static constexpr double kHeaderHeight = 120;
    static constexpr double kRowHeight = 45;
    static constexpr double kEmptyFeatureRowHeight = 58;
    static constexpr const char* kFeaturePlaceholder = "一句话向大家介绍一下自己...";
    static constexpr const char* kInviteTitle = "邀请好友";
    static constexpr const char* kInviteSmsText = "刚发现一个小清新的脱宅社区，蛮有新意的；你也来试试吧。";
    static constexpr const char* kInviteMailSubject = "发现一个不错的社区，蛮有新意的";
    static constexpr const char* kInviteMailText =
        "刚发现一个小清新的脱宅社区，蛮有新意的；周末不想宅在家的朋友可以来试试哦~ ";

    HomeViewController();
    ~HomeViewController() override;
    std::string className() const override { return "HomeViewController"; }

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    void showUserInfo();
    // Pull-to-refresh: the whole home record again from the server.
    void refresh();
    void doneLoadingTableViewData();

    // Actions.
    void editor();
    void logoClick();
    void goInterestList();
    void goInterestMeList();
    void goPostList();
    // The settings screen, which stays within the tab.
    void goConfig();
    void openShareLog();
    void displaySMSComposerSheet();
    void displayMailPicker();

    // TableViewDataSource / TableViewDelegate
    int numberOfSections(TableView&) override;
    int numberOfRows(TableView&, int section) override;
    TableViewCellPtr cellForRow(TableView& table, IndexPath indexPath) override;
    double heightForRow(TableView&, IndexPath indexPath) override;
    double heightForHeader(TableView&, int) override { return 15; }
    double heightForFooter(TableView&, int) override { return 0; }
    ViewPtr viewForHeader(TableView&, int) override;
    void didSelectRow(TableView& table, IndexPath indexPath) override;
    void scrollViewDidScroll(ScrollView& scrollView) override;
    void scrollViewDidEndDragging(ScrollView& scrollView, bool willDecelerate) override;

    // PullRefreshHeaderDelegate
    void pullRefreshHeaderDidTriggerRefresh(PullRefreshHeaderView&) override;
    bool pullRefreshHeaderDataSourceIsLoading(PullRefreshHeaderView&) override { return reloading; }
    std::optional<SystemTime> pullRefreshHeaderDataSourceLastUpdated(PullRefreshHeaderView&) override {
        return lastUpdateDate;
    }

    void actionSheetDidDismiss(ActionSheet& sheet, int buttonIndex) override;
    void messageComposeViewController(MessageComposeViewController& controller,
                                      ComposeResult result) override;
    void mailComposeController(MailComposeViewController& controller, ComposeResult result) override;

    // The text of the "社交网络" row and whether it is the unbound (red) state.
    static std::string bindingText(const User& user, bool& unbound);
    // The question shown at a row of the preference sections, or null.
    std::shared_ptr<Preference> preferenceAt(IndexPath indexPath) const;

    std::shared_ptr<ImageView> logoView;
    std::shared_ptr<Label> infoLabel;
    std::shared_ptr<Label> logoVerifyLabel;
    std::shared_ptr<Button> postListButton;
    std::shared_ptr<Button> configButton;
    std::shared_ptr<ImageView> backgroundView;
    std::shared_ptr<TableView> infoTableView;
    std::shared_ptr<PullRefreshHeaderView> refreshHeaderView;
    std::shared_ptr<ActionSheet> shareSheet;
    bool reloading = false;
    std::optional<SystemTime> lastUpdateDate;
    int shareToSmsButtonIdex = -1;
    int shareToMailButtonIdex = -1;
    int shareToThirdparyButtonIdex = -1;

private:
    void refreshFinished(const std::shared_ptr<HttpRequest>& request);
    View* messageView();
    ViewController* shellController();
    TableViewCellPtr userDataTableView(TableView& table, IndexPath indexPath);
    TableViewCellPtr userInfoTableView(TableView& table, IndexPath indexPath);
    TableViewCellPtr userOtherInfoTableView(TableView& table, IndexPath indexPath);
    TableViewCellPtr userPreferenceTableView(TableView& table, IndexPath indexPath);
};

}  // namespace zorlet
