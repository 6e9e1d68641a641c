#include "profile/GuideSettingViewController.h"

#include "app/ScreenActions.h"
#include "model/EmptyText.h"
#include "platform/WeakSelf.h"
#include "session/LoginRedirect.h"
#include "session/LoginService.h"
#include "ui/AlertView.h"
#include "ui/ProgressHUD.h"

namespace zorlet {

namespace {

constexpr double kStartRowHeight = 50;

}  // namespace

GuideSettingViewController::GuideSettingViewController() {
    setTitle("设置Zorlet名片");
    cellIdentifierDictionary_ = {{0, "LogoCell"},   {10, "NicknameCell"}, {11, "GenderCell"},
                                 {12, "BirthCell"}, {20, "LocationCell"}, {21, "ProfessionCell"}};
    // The nickname was chosen at registration; the guide only shows it.
    disableSelectCellIdentifiterArray_ = {"NicknameCell"};
}

void GuideSettingViewController::viewDidLoad() {
    SettingViewController::viewDidLoad();
    tableView->setScrollEnabled(false);
    if (auto cell = cellForIdentifier("NicknameCell")) {
        cell->setSelectionStyle(TableViewCell::SelectionStyle::None);
    }
    navigationItem().setLeftBarButtonItem(ScreenActions::barItem(
        "退出", BarButtonItem::Style::Bordered, "logout", this, &GuideSettingViewController::logout));

    startCell_ = std::make_shared<TableViewCell>(TableViewCell::Style::Default, "StartCell");
    startCell_->setSelectionStyle(TableViewCell::SelectionStyle::None);
    startCell_->setBackgroundColor(Color::clearColor());
    startCell_->setFrame(Rect(0, 0, 300, kStartRowHeight));
    startCell_->contentView().setFrame(Rect(0, 0, 300, kStartRowHeight));
    startButton = Button::create(Button::Type::Custom);
    startButton->setId("startButton");
    startButton->setFrame(Rect(0, 0, 300, kStartRowHeight));
    startButton->setTitle(kStartTitle);
    startButton->setTitleColor(Color::whiteColor());
    startButton->setTitleFont(Font::boldSystemFont(18));
    startButton->setBackgroundImage(ImageAsset::named("big_btn_link"));
    startButton->setBackgroundImage(ImageAsset::named("big_btn_hover"), Highlighted);
    startButton->setBackgroundColor(Color::rgb(232, 93, 40));
    startButton->setCornerRadius(6);
    startButton->addTarget(TouchUpInside, [call = ScreenActions::bind<SettingViewController>(
                                               this, &SettingViewController::save)](Control&) { call(); });
    startCell_->contentView().addSubview(startButton);
}

void GuideSettingViewController::fillForm() {
    SettingViewController::fillForm();
    // The guide never assumes a gender: the user chooses one.
    genderLabel->setText("");
    genderLabel->setTag(-1);
}

TableViewCellPtr GuideSettingViewController::cellForRow(TableView& table, IndexPath indexPath) {
    if (indexPath.section == 3 && startCell_) {
        return startCell_;
    }
    return SettingViewController::cellForRow(table, indexPath);
}

double GuideSettingViewController::heightForRow(TableView& table, IndexPath indexPath) {
    if (indexPath.section == 3) {
        return kStartRowHeight;
    }
    return SettingViewController::heightForRow(table, indexPath);
}

bool GuideSettingViewController::validateSave() {
    const char* missing = nullptr;
    if (genderLabel->tag() < 0) {
        missing = "请选择性别";
    } else if (isEmpty(birthLabel->text())) {
        missing = "请填写生日";
    } else if (isEmpty(locationLabel->text()) || locationLabel->tag() < 1) {
        missing = "请选择所在地";
    } else if (isEmpty(professionLabel->text())) {
        missing = "请选择职业";
    }
    if (missing != nullptr) {
        showMessage(missing);
        return false;
    }
    return true;
}

void GuideSettingViewController::saveSuccess() {
    LoginRedirect::redirect(isViewLoaded() ? &view() : nullptr);
}

void GuideSettingViewController::logout() {
    auto alert = AlertView::create("提示", "确定退出吗？", nullptr, "取消", {"确认"});
    auto weak = weakSelf(this);
    alert->setOnDismiss([weak, alertPtr = alert.get()](int index) {
        if (index == alertPtr->cancelButtonIndex()) {
            return;
        }
        if (auto self = weak.lock()) {
            self->doLogout();
        }
    });
    alert->show();
}

void GuideSettingViewController::doLogout() {
    auto hud = ProgressHUD::showHUDAddedTo(hudHost(), true);
    hud->setDimBackground(true);
    hud->setLabelText("账号注销...");
    hud->setRemoveFromSuperViewOnHide(true);
    std::weak_ptr<ViewController> weak = weak_from_this();
    hud->showWhileExecuting(
        [] { LoginService::getInstance().logout(); },
        [weak] {
            auto self = weak.lock();
            LoginRedirect::redirect(self && self->isViewLoaded() ? &self->view() : nullptr);
        },
        true);
}

}  // namespace zorlet
