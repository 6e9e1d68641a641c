#include "profile/ProfileSettingViewController.h"

#include "app/CustomNavigationController.h"
#include "app/ScreenActions.h"
#include "platform/Analytics.h"

namespace zorlet {

ProfileSettingViewController::ProfileSettingViewController() {
    setTitle("设置基本资料");
    cellIdentifierDictionary_ = {{0, "LogoCell"},       {10, "NicknameCell"}, {11, "GenderCell"},
                                 {12, "BirthCell"},     {20, "FeatureCell"},  {21, "LocationCell"},
                                 {22, "ProfessionCell"}};
}

void ProfileSettingViewController::viewDidLoad() {
    SettingViewController::viewDidLoad();
    navigationItem().setLeftBarButtonItem(ScreenActions::barItem(
        "取消", BarButtonItem::Style::Bordered, "cancel", this, &ProfileSettingViewController::cancel));
    navigationItem().setRightBarButtonItem(saveButton());
}

void ProfileSettingViewController::cancel() {
    if (auto* navigation = customNavigationController()) {
        navigation->popViewController();
    } else {
        dismissModalViewController(true);
    }
}

void ProfileSettingViewController::saveSuccess() {
    Analytics::event("saveProfile");
    if (NavigationController* navigation = navigationController()) {
        navigation->dismissModalViewController(true);
    }
}

}  // namespace zorlet
