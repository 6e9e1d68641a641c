#include "profile/PrivacyViewController.h"

#include "app/CustomNavigationController.h"
#include "app/ScreenActions.h"
#include "model/UserHome.h"
#include "net/HttpRequestSender.h"
#include "net/UrlUtils.h"
#include "platform/Analytics.h"
#include "platform/WeakSelf.h"
#include "session/UserContext.h"
#include "ui/ProgressHUD.h"
#include "widgets/OperationProgress.h"

namespace zorlet {

namespace {

constexpr const char* kRowTitles[] = {"显示手机信息", "显示我的位置", "自动同步我想去的"};

}  // namespace

PrivacyViewController::PrivacyViewController() {
    setTitle("隐私设置");
}

void PrivacyViewController::loadView() {
    tableView = std::make_shared<TableView>(Rect(0, 0, kScreenWidth, 416), TableView::Style::Grouped);
    tableView->setId("tableView");
    tableView->setAutoresizingMask(View::FlexibleSize);
    tableView->setBackgroundImage(ImageAsset::named("app_bg"));
    setView(tableView);
}

void PrivacyViewController::viewDidLoad() {
    saveButton_ = ScreenActions::barItem("保存", BarButtonItem::Style::Done, "save", this,
                                         &PrivacyViewController::save);
    saveButton_->setEnabled(false);
    navigationItem().setRightBarButtonItem(saveButton_);
    if (UserHomePtr home = UserContext::getUserHome()) {
        locationSecret = home->locationSecret;
        phoneSecret = home->phoneSecret;
        synchronizeSecret = home->synchronizeSecret;
    }
    tableView->setDataSource(this);
    tableView->setDelegate(this);
}

void PrivacyViewController::viewWillAppear(bool) {
    Analytics::beginLogPageView(className());
    tableView->reloadData();
}

void PrivacyViewController::viewWillDisappear(bool) {
    Analytics::endLogPageView(className());
}

int PrivacyViewController::numberOfRows(TableView&, int) {
    UserPtr user = UserContext::getUser();
    return user && user->tpId > 0 ? 3 : 2;
}

TableViewCellPtr PrivacyViewController::cellForRow(TableView&, IndexPath indexPath) {
    // Fresh cells: each holds its own switch, tagged with the row.
    auto cell = std::make_shared<TableViewCell>();
    cell->setSelectionStyle(TableViewCell::SelectionStyle::None);
    cell->setBackgroundColor(Color::whiteColor());
    int row = std::clamp(indexPath.row, 0, 2);
    cell->textLabel().setText(kRowTitles[row]);
    cell->textLabel().setFont(Font::boldSystemFont(17));
    bool hidden = row == PhoneRow ? phoneSecret : row == LocationRow ? locationSecret : synchronizeSecret;
    auto control = std::make_shared<Switch>(Rect(220, 9, 79, 27));
    control->setId(std::string("privacySwitch") + std::to_string(row));
    control->setTag(row);
    control->setOn(!hidden);
    auto weak = weakSelf(this);
    control->addTarget(ValueChanged, [weak](Control& sender) {
        auto self = weak.lock();
        if (auto* changed = dynamic_cast<Switch*>(&sender); self && changed) {
            self->switchChanged(*changed);
        }
    });
    cell->contentView().addSubview(control);
    return cell;
}

void PrivacyViewController::switchChanged(Switch& control) {
    saveButton_->setEnabled(true);
    needToBackAlert(true);
    bool hidden = !control.isOn();
    switch (control.tag()) {
        case PhoneRow:
            phoneSecret = hidden;
            break;
        case LocationRow:
            locationSecret = hidden;
            break;
        case SynchronizeRow:
            synchronizeSecret = hidden;
            break;
        default:
            break;
    }
}

bool PrivacyViewController::needToBackAlert(bool alert) {
    if (auto* navigation = dynamic_cast<CustomNavigationController*>(navigationController())) {
        navigation->setPopAlert(alert);
        // The bar draws its buttons from the items: show "保存" in its new state.
        navigation->refreshNavigationBar();
    }
    return alert;
}

View* PrivacyViewController::hudHost() {
    if (NavigationController* navigation = navigationController()) {
        return &navigation->view();
    }
    return &view();
}

void PrivacyViewController::save() {
    View* host = hudHost();
    auto hud = OperationProgress::show(host, "保存中...");
    auto request = HttpRequestSender::postRequestWithUrl(
        UrlUtils::urlStringWithUri("profile/v132/savePrivacy"), {{"uid", UserContext::getUid()},
                                                                 {"locationSecret", locationSecret},
                                                                 {"phoneSecret", phoneSecret},
                                                                 {"synchronizeSecret", synchronizeSecret}});
    if (!request) {
        OperationProgress::hide(hud);
        return;
    }
    auto weak = weakSelf(this);
    HttpRequestSender::doRequest(request, host, [weak, hud](const Json& envelope) {
        auto self = weak.lock();
        if (self) {
            self->saveButton_->setEnabled(false);
            self->needToBackAlert(false);
        }
        UserHomePtr home = UserContext::getUserHome();
        const Json& result = jsonObject(envelope, "result");
        const Json& userView = jsonObject(result, "userView");
        // Only an answer about the signed-in user may change their home.
        if (home && !result.empty() &&
            (userView.empty() || jsonInt(userView, "uid") == UserContext::getUid())) {
            home->updateFromDictionary(result);
        }
        if (hud) {
            OperationProgress::succeed(*hud, "保存成功");
        }
    });
}

}  // namespace zorlet
