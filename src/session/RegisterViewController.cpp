#include "session/RegisterViewController.h"

#include "app/InterfaceDescription.h"
#include "app/LocalizedStrings.h"
#include "app/ScreenActions.h"
#include "model/EmptyText.h"
#include "net/CheckNetwork.h"
#include "net/HttpRequestSender.h"
#include "net/MessageShow.h"
#include "net/UrlUtils.h"
#include "platform/Analytics.h"
#include "platform/Log.h"
#include "platform/UnicodeText.h"
#include "platform/WeakSelf.h"
#include "session/LoginRedirect.h"
#include "session/LoginResult.h"
#include "session/LoginService.h"
#include "session/TpLoginViewController.h"
#include "ui/Keyboard.h"
#include "ui/NavigationController.h"
#include "ui/ProgressHUD.h"

namespace zorlet {

RegisterViewController::RegisterViewController() {
    setTitle("帐号注册");
}

void RegisterViewController::loadView() {
    auto objects = InterfaceDescription::load("RegisterViewController");
    setView(objects.empty() ? std::make_shared<View>(Rect(0, 0, kScreenWidth, 416)) : objects.front());
    for (std::size_t i = 1; i < objects.size(); ++i) {
        auto cell = std::dynamic_pointer_cast<TableViewCell>(objects[i]);
        if (!cell) {
            continue;
        }
        const std::string& id = cell->id();
        if (id == "accountCell") {
            accountCell = cell;
        } else if (id == "nicknameCell") {
            nicknameCell = cell;
        } else if (id == "passwordCell") {
            passwordCell = cell;
        } else if (id == "confirmPwdCell") {
            confirmPwdCell = cell;
        }
    }
}

void RegisterViewController::viewDidLoad() {
    View& root = view();
    registerFormTableView = InterfaceDescription::find<TableView>(root, "registerFormTableView");
    auto fieldIn = [](const std::shared_ptr<TableViewCell>& cell, const char* id) {
        return cell ? InterfaceDescription::find<TextField>(*cell, id) : nullptr;
    };
    accountField = fieldIn(accountCell, "accountField");
    nicknameField = fieldIn(nicknameCell, "nicknameField");
    passwordField = fieldIn(passwordCell, "passwordField");
    confirmPwdField = fieldIn(confirmPwdCell, "confirmPwdField");
    for (auto* field :
         {accountField.get(), nicknameField.get(), passwordField.get(), confirmPwdField.get()}) {
        if (field != nullptr) {
            field->setDelegate(this);
        }
    }
    if (registerFormTableView) {
        registerFormTableView->setDataSource(this);
        registerFormTableView->setDelegate(this);
        registerFormTableView->reloadData();
    }

    ScreenActions::connect(root, "sinaLogin", this, &RegisterViewController::sinaLogin);
    ScreenActions::connect(root, "qqLogin", this, &RegisterViewController::qqLogin);
    ScreenActions::connect(root, "dbLogin", this, &RegisterViewController::dbLogin);
    for (const auto& provider : kExternalProviders) {
        if (auto button = InterfaceDescription::find<Button>(root, provider.buttonId)) {
            button->setTitle(LocalizedStrings::localizedString("tp.%d.name", provider.tpId));
        }
    }
    navigationItem().setRightBarButtonItem(ScreenActions::barItem(
        "完成", BarButtonItem::Style::Done, "regist", this, &RegisterViewController::regist));
    navigationItem().setLeftBarButtonItem(ScreenActions::barItem(
        "返回", BarButtonItem::Style::Bordered, "back", this, &RegisterViewController::back));
    ScreenActions::onTap(root, this, &RegisterViewController::backgroundTap);
}

void RegisterViewController::viewWillAppear(bool) {
    Analytics::beginLogPageView(className());
}

void RegisterViewController::viewWillDisappear(bool) {
    Analytics::endLogPageView(className());
}

TableViewCellPtr RegisterViewController::cellForRow(TableView&, IndexPath indexPath) {
    const std::shared_ptr<TableViewCell>* cells[] = {&accountCell, &nicknameCell, &passwordCell,
                                                     &confirmPwdCell};
    if (indexPath.row >= 0 && indexPath.row < 4 && *cells[indexPath.row]) {
        return *cells[indexPath.row];
    }
    return std::make_shared<TableViewCell>();
}

bool RegisterViewController::textFieldShouldChangeCharacters(TextField&, TextRange, const std::string&) {
    return Keyboard::shared().currentInputMode() != "emoji";
}

bool RegisterViewController::textFieldShouldReturn(TextField& field) {
    TextField* order[] = {accountField.get(), nicknameField.get(), passwordField.get(),
                          confirmPwdField.get()};
    for (int i = 0; i < 3; ++i) {
        if (&field == order[i] && order[i + 1] != nullptr) {
            order[i + 1]->becomeFirstResponder();
            return true;
        }
    }
    if (&field == confirmPwdField.get()) {
        regist();
    }
    return true;
}

void RegisterViewController::backgroundTap() {
    Keyboard::shared().endEditing(&view());
}

std::optional<std::pair<const char*, TextField*>> RegisterViewController::firstProblem() const {
    auto text = [](const std::shared_ptr<TextField>& field) { return field ? field->text() : std::string(); };
    std::string account = text(accountField);
    std::string nickname = text(nicknameField);
    std::string password = text(passwordField);
    std::string confirmation = text(confirmPwdField);
    if (isEmpty(account) || !UnicodeText::isEmail(account)) {
        return std::pair{"请输入正确格式的邮箱", accountField.get()};
    }
    if (isEmpty(nickname)) {
        return std::pair{"昵称不能为空", nicknameField.get()};
    }
    if (UnicodeText::chineseLength(nickname) > kMaxNicknameLength) {
        return std::pair{"昵称不能超过10个字", nicknameField.get()};
    }
    std::size_t passwordLength = UnicodeText::utf16Length(password);
    if (passwordLength < kMinPasswordLength || passwordLength > kMaxPasswordLength) {
        return std::pair{"密码控制在6~32位之间", passwordField.get()};
    }
    if (isEmpty(confirmation)) {
        return std::pair{"请输入确认密码", confirmPwdField.get()};
    }
    if (confirmation != password) {
        return std::pair{"两次输入的密码不相符", confirmPwdField.get()};
    }
    return std::nullopt;
}

void RegisterViewController::regist() {
    if (auto problem = firstProblem()) {
        MessageShow::error(problem->first, &view());
        if (problem->second != nullptr) {
            problem->second->becomeFirstResponder();
        }
        return;
    }
    backgroundTap();
    // The network alert belongs on the main loop, so the missing network is told here, not by the worker.
    if (!CheckNetwork::isExistenceNetwork()) {
        return;
    }
    doRegister();
}

void RegisterViewController::doRegister() {
    Json params = {{"account", accountField->text()},
                   {"nickname", nicknameField->text()},
                   {"pwd", passwordField->text()},
                   {"confirmPwd", confirmPwdField->text()}};
    HttpRequestPtr request = HttpRequestSender::createPostRequestWithUrl(
        UrlUtils::urlStringWithUri("passport/v132/register"), params);
    request->setUseDownloadCache(false);

    View* host = navigationController() != nullptr ? &navigationController()->view() : &view();
    auto hud = ProgressHUD::showHUDAddedTo(host, true);
    hud->setDimBackground(true);
    hud->setRemoveFromSuperViewOnHide(true);
    auto weak = weakSelf(this);
    hud->showWhileExecuting([request] { request->startSynchronous(); },
                            [weak, request] {
                                if (auto self = weak.lock()) {
                                    self->registerFinished(*request);
                                }
                            },
                            true);
}

void RegisterViewController::registerFinished(HttpRequest& request) {
    if (request.error() || request.responseStatusCode() != 200) {
        MessageShow::error(LoginResult::kNetworkErrorText, &view());
        return;
    }
    auto envelope = parseJson(request.responseString());
    if (!envelope || !envelope->is_object()) {
        MessageShow::error(LoginResult::kNetworkErrorText, &view());
        return;
    }
    if (!HttpRequestSender::isSuccess(*envelope)) {
        MessageShow::error(HttpRequestSender::errorText(*envelope), &view());
        return;
    }
    if (LoginService::homeFromEnvelope(*envelope, "a registration answer") == nullptr) {
        // Signing in as nobody would strand the user on the welcome screen with no word why.
        MessageShow::error(LoginResult::kNetworkErrorText, &view());
        return;
    }
    Analytics::event("localRegister");
    LoginService::getInstance().loginSuccess(nullptr, *envelope, request.responseCookies());
    LoginRedirect::redirect(&view());
}

void RegisterViewController::back() {
    auto self = shared_from_this();
    dismissModalViewController(true);
}

void RegisterViewController::loginTpId(std::int64_t tpId) {
    presentModalViewController(std::make_shared<TpLoginViewController>(tpId, 0), true);
}

}  // namespace zorlet
