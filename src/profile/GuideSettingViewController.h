#pragma once

#include "profile/SettingViewController.h"
#include "ui/Button.h"

namespace zorlet {

// The first-use guide: the reduced profile form a new user completes before
// the tab shell opens. "开始Zorlet" saves it; "退出" signs out instead.
class GuideSettingViewController : public SettingViewController {
public:
    static constexpr const char* kStartTitle = "开始Zorlet";

    GuideSettingViewController();
    std::string className() const override { return "GuideSettingViewController"; }

    void viewDidLoad() override;

    std::string postUrl() const override { return "profile/guide"; }
    // Gender, birthday, location and profession, in that order.
    bool validateSave() override;
    // The user has completed the guide: on to the first screen (the tab shell).
    void saveSuccess() override;

    // "退出": asks, then signs out and shows the first screen (the welcome screen).
    void logout();
    void doLogout();

    TableViewCellPtr cellForRow(TableView& table, IndexPath indexPath) override;
    double heightForRow(TableView& table, IndexPath indexPath) override;

    std::shared_ptr<Button> startButton;

protected:
    std::vector<int> sectionRows() const override { return {1, 3, 2, 1}; }
    void fillForm() override;
    bool isGuide() const override { return true; }

private:
    TableViewCellPtr startCell_;
};

}  // namespace zorlet
