#pragma once

#include "platform/Json.h"
#include "ui/AlertView.h"
#include "ui/TableView.h"
#include "ui/ViewController.h"

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace zorlet {

// The settings: account (profile preferences, external account, privacy,
// blacklist), about (review, terms, feedback, update check), clearing the
// picture cache and signing out. What a row does is bound to its position.
class ConfigViewController : public ViewController,
                             public TableViewDataSource,
                             public TableViewDelegate,
                             public AlertViewDelegate {
public:
    static constexpr int kClearCacheAlertTag = 2;
    static constexpr int kLogoutAlertTag = 3;
    static constexpr int kUpdateAlertTag = 4;
    static constexpr const char* kStoreReviewUrl =
        "https://apps.apple.com/cn/app/zorlet/id600000000?action=write-review";

    std::string className() const override { return "ConfigViewController"; }
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    // The row keys of each section, from the "config" resource.
    static std::map<int, std::vector<std::string>> loadSections();
    // The external account row's detail for the signed-in user.
    static std::string externalAccountText();

    int numberOfSections(TableView&) override;
    int numberOfRows(TableView&, int section) override;
    TableViewCellPtr cellForRow(TableView& table, IndexPath indexPath) override;
    std::string titleForHeader(TableView&, int section) override;
    void didSelectRow(TableView& table, IndexPath indexPath) override;
    void alertViewClickedButton(AlertView& alertView, int index) override;

    std::map<int, std::vector<std::string>> sections;
    std::shared_ptr<TableView> tableView;

private:
    void push(const ViewControllerPtr& screen);
    void openExternalAccount();
    void checkUpdate();
    void showUpdateAnswer(const Json& answer);
    void clearImageCache();
    void logout();
    View* navigationView();

    std::string upgradeUrl_;
};

}  // namespace zorlet
