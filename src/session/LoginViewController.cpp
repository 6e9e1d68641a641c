#include "session/LoginViewController.h"

#include "app/InterfaceDescription.h"
#include "app/LocalizedStrings.h"
#include "app/ScreenActions.h"
#include "model/EmptyText.h"
#include "net/CheckNetwork.h"
#include "net/MessageShow.h"
#include "platform/Analytics.h"
#include "platform/WeakSelf.h"
#include "session/GetbackPwdViewController.h"
#include "session/LoginRedirect.h"
#include "session/LoginService.h"
#include "session/TpLoginViewController.h"
#include "ui/Application.h"
#include "ui/Button.h"
#include "ui/Keyboard.h"
#include "ui/NavigationController.h"
#include "ui/ProgressHUD.h"
#include "ui/Window.h"

namespace zorlet {

LoginViewController::LoginViewController() {
    setTitle("帐号登录");
}

void LoginViewController::loadView() {
    auto objects = InterfaceDescription::load("LoginViewController");
    setView(objects.empty() ? std::make_shared<View>(Rect(0, 0, kScreenWidth, 416)) : objects.front());
}

void LoginViewController::viewDidLoad() {
    View& root = view();
    loginFormTableView = InterfaceDescription::find<TableView>(root, "loginFormTableView");
    formCells_.clear();
    for (auto& object : InterfaceDescription::load("LoginForm")) {
        if (auto cell = std::dynamic_pointer_cast<TableViewCell>(object)) {
            formCells_.push_back(cell);
        }
    }
    nameField = InterfaceDescription::find<TextField>(
        std::vector<ViewPtr>(formCells_.begin(), formCells_.end()), "nameField");
    pwdField = InterfaceDescription::find<TextField>(
        std::vector<ViewPtr>(formCells_.begin(), formCells_.end()), "pwdField");
    for (auto* field : {nameField.get(), pwdField.get()}) {
        if (field != nullptr) {
            field->setDelegate(this);
        }
    }
    if (loginFormTableView) {
        loginFormTableView->setDataSource(this);
        loginFormTableView->setDelegate(this);
        loginFormTableView->reloadData();
    }

    ScreenActions::connect(root, "login", this, &LoginViewController::login);
    ScreenActions::connect(root, "getbackPwd", this, &LoginViewController::getbackPwd);
    ScreenActions::connect(root, "sinaLogin", this, &LoginViewController::sinaLogin);
    ScreenActions::connect(root, "qqLogin", this, &LoginViewController::qqLogin);
    ScreenActions::connect(root, "dbLogin", this, &LoginViewController::dbLogin);
    for (const auto& provider : kExternalProviders) {
        if (auto button = InterfaceDescription::find<Button>(root, provider.buttonId)) {
            button->setTitle(LocalizedStrings::localizedString("tp.%d.name", provider.tpId));
        }
    }

    navigationItem().setRightBarButtonItem(ScreenActions::barItem("完成", BarButtonItem::Style::Done, "login",
                                                                  this, &LoginViewController::login));
    navigationItem().setLeftBarButtonItem(ScreenActions::barItem("返回", BarButtonItem::Style::Bordered,
                                                                 "back", this, &LoginViewController::back));
    ScreenActions::onTap(root, this, &LoginViewController::backgroundTap);
}

void LoginViewController::viewWillAppear(bool) {
    Analytics::beginLogPageView(className());
}

void LoginViewController::viewWillDisappear(bool) {
    Analytics::endLogPageView(className());
}

int LoginViewController::numberOfRows(TableView&, int) {
    return 2;
}

TableViewCellPtr LoginViewController::cellForRow(TableView&, IndexPath indexPath) {
    for (const auto& cell : formCells_) {
        if (cell->tag() == indexPath.row + 1) {
            return cell;
        }
    }
    return std::make_shared<TableViewCell>();
}

bool LoginViewController::textFieldShouldChangeCharacters(TextField&, TextRange, const std::string&) {
    return Keyboard::shared().currentInputMode() != "emoji";
}

bool LoginViewController::textFieldShouldReturn(TextField& field) {
    if (&field == nameField.get() && pwdField) {
        pwdField->becomeFirstResponder();
    } else if (&field == pwdField.get()) {
        login();
    }
    return true;
}

void LoginViewController::backgroundTap() {
    Keyboard::shared().endEditing(&view());
}

void LoginViewController::login() {
    backgroundTap();
    std::string name = nameField ? nameField->text() : std::string();
    std::string password = pwdField ? pwdField->text() : std::string();
    if (isEmpty(name) || isEmpty(password)) {
        MessageShow::error(kEmptyInputMessage, &view());
        return;
    }
    // The network alert belongs on the main loop, so the missing network is told here, not by the worker.
    if (!CheckNetwork::isExistenceNetwork()) {
        return;
    }
    doLogin(name, password);
}

void LoginViewController::doLogin(const std::string& name, const std::string& password) {
    Window* window = view().window() != nullptr ? view().window() : Application::shared().keyWindow();
    View* host = window != nullptr ? static_cast<View*>(window) : &view();
    auto hud = ProgressHUD::showHUDAddedTo(host, true);
    hud->setDimBackground(true);
    hud->setRemoveFromSuperViewOnHide(true);
    auto result = std::make_shared<LoginResult>();
    auto weak = weakSelf(this);
    hud->showWhileExecuting(
        [result, name, password] { *result = LoginService::getInstance().useLoginName(name, password); },
        [weak, result] {
            auto self = weak.lock();
            if (result->success) {
                LoginRedirect::redirect(self ? &self->view() : nullptr);
            } else if (isNotEmpty(result->errorInfo)) {
                MessageShow::error(*result->errorInfo, self ? &self->view() : nullptr);
            }
        },
        true);
}

void LoginViewController::redirect() {
    LoginRedirect::redirect(&view());
}

void LoginViewController::getbackPwd() {
    if (NavigationController* navigation = navigationController()) {
        navigation->pushViewController(std::make_shared<GetbackPwdViewController>(), true);
    }
}

void LoginViewController::back() {
    auto self = shared_from_this();
    dismissModalViewController(true);
}

void LoginViewController::loginTpId(std::int64_t tpId) {
    presentModalViewController(std::make_shared<TpLoginViewController>(tpId, 0), true);
}

}  // namespace zorlet
