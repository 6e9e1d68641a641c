#pragma once

#include "profile/SettingViewController.h"

namespace zorlet {

// The whole basic profile, presented modally in its own navigation controller
// by my home; saving closes it.
class ProfileSettingViewController : public SettingViewController {
public:
    ProfileSettingViewController();
    std::string className() const override { return "ProfileSettingViewController"; }

    void viewDidLoad() override;

    std::string postUrl() const override { return "profile/save"; }
    void saveSuccess() override;
    // The "取消" button: leaves the form, asking first when there are unsaved edits.
    void cancel();

protected:
    std::vector<int> sectionRows() const override { return {1, 3, 3}; }
};

}  // namespace zorlet
