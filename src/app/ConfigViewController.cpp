#include "app/ConfigViewController.h"

#include "app/FeedbackViewController.h"
#include "app/LocalizedStrings.h"
#include "model/User.h"
#include "net/Constant.h"
#include "people/BlacklistViewController.h"
#include "platform/Analytics.h"
#include "platform/AtomicFile.h"
#include "platform/WeakSelf.h"
#include "platform/WebImageLoader.h"
#include "profile/EditorListViewController.h"
#include "profile/PrivacyViewController.h"
#include "session/AuthorizeBindViewController.h"
#include "session/AuthorizeExpiredViewController.h"
#include "session/LoginService.h"
#include "session/ProtocalViewController.h"
#include "session/UserContext.h"
#include "ui/Application.h"
#include "ui/NavigationController.h"
#include "ui/ProgressHUD.h"
#include "ui/Window.h"

namespace zorlet {

namespace {

enum Section { Account = 0, About = 1, Cache = 2, Logout = 3 };

ProgressHUD* dimmedProgress(View* host, const std::string& text) {
    if (host == nullptr) {
        return nullptr;
    }
    auto hud = ProgressHUD::showHUDAddedTo(host, true);
    hud->setId("progressHUD");
    hud->setDimBackground(true);
    hud->setRemoveFromSuperViewOnHide(true);
    hud->setLabelText(text);
    return hud.get();
}

}  // namespace

std::map<int, std::vector<std::string>> ConfigViewController::loadSections() {
    std::map<int, std::vector<std::string>> loaded;
    auto bytes = AtomicFile::read(std::string(ZORLET_RESOURCES_DIR) + "/config.json");
    auto json = bytes ? parseJson(*bytes) : std::nullopt;
    if (!json || !json->is_object()) {
        return loaded;
    }
    // Sections are numbered from 0 without gaps; a missing number ends the list.
    for (int section = 0;; ++section) {
        const Json& rows = jsonArray(*json, std::to_string(section));
        if (!json->contains(std::to_string(section))) {
            break;
        }
        auto& keys = loaded[section];
        for (const auto& row : rows) {
            if (row.is_string()) {
                keys.push_back(row.get<std::string>());
            }
        }
    }
    return loaded;
}

std::string ConfigViewController::externalAccountText() {
    auto user = UserContext::getUser();
    if (!user || user->tpId <= 0) {
        return "未绑定";
    }
    if (user->tokenExpired) {
        return "授权已过期";
    }
    return "已绑定：" + LocalizedStrings::localizedString("tp.%d.name", user->tpId);
}

View* ConfigViewController::navigationView() {
    return navigationController() != nullptr ? &navigationController()->view() : &view();
}

void ConfigViewController::viewDidLoad() {
    setTitle("设置");
    view().setId("ConfigViewController");
    view().setBackgroundImage(ImageAsset::named("app_bg"));
    sections = loadSections();
    tableView = std::make_shared<TableView>(view().bounds(), TableView::Style::Grouped);
    tableView->setId("tableView");
    tableView->setAutoresizingMask(View::FlexibleSize);
    tableView->setDataSource(this);
    tableView->setDelegate(this);
    view().addSubview(tableView);
}

void ConfigViewController::viewWillAppear(bool) {
    // The account row follows what happened on the screens pushed from here.
    tableView->reloadData();
    Analytics::beginLogPageView(className());
}

void ConfigViewController::viewWillDisappear(bool) {
    Analytics::endLogPageView(className());
}

int ConfigViewController::numberOfSections(TableView&) {
    return static_cast<int>(sections.size());
}

int ConfigViewController::numberOfRows(TableView&, int section) {
    auto found = sections.find(section);
    return found == sections.end() ? 0 : static_cast<int>(found->second.size());
}

std::string ConfigViewController::titleForHeader(TableView&, int section) {
    return LocalizedStrings::localizedString("config.section.%d", section);
}

TableViewCellPtr ConfigViewController::cellForRow(TableView& table, IndexPath indexPath) {
    const std::string identifier = indexPath.section == Logout ? "ConfigWarningCell" : "ConfigCell";
    auto cell = table.dequeueReusableCell(identifier);
    if (!cell) {
        cell = std::make_shared<TableViewCell>(TableViewCell::Style::Value1, identifier);
    }
    const std::string& key = sections[indexPath.section].at(static_cast<std::size_t>(indexPath.row));
    cell->setId("config." + key);
    cell->textLabel().setText(LocalizedStrings::localizedString("config." + key));
    std::string detail;
    if (indexPath.section == Account && indexPath.row == 1) {
        detail = externalAccountText();
    } else if (indexPath.section == About && indexPath.row == 3) {
        detail = "当前版本：v" + Constant::appVersion();
    }
    cell->detailTextLabel().setText(detail);
    if (indexPath.section == Logout) {
        cell->setBackgroundColor(Color{0.6, 0.1, 0.1, 1});
        cell->textLabel().setTextColor(Color::whiteColor());
        cell->textLabel().setTextAlignment(TextAlignment::Center);
    } else {
        cell->setAccessoryType(TableViewCell::AccessoryType::DisclosureIndicator);
    }
    return cell;
}

void ConfigViewController::push(const ViewControllerPtr& screen) {
    if (NavigationController* navigation = navigationController()) {
        screen->setHidesBottomBarWhenPushed(true);
        navigation->pushViewController(screen, true);
    }
}

void ConfigViewController::didSelectRow(TableView& table, IndexPath indexPath) {
    table.deselectRow(indexPath, true);
    switch (indexPath.section) {
        case Account:
            switch (indexPath.row) {
                case 0:
                    push(std::make_shared<EditorListViewController>());
                    break;
                case 1:
                    openExternalAccount();
                    break;
                case 2:
                    push(std::make_shared<PrivacyViewController>());
                    break;
                case 3:
                    push(std::make_shared<BlacklistViewController>());
                    break;
                default:
                    break;
            }
            break;
        case About:
            switch (indexPath.row) {
                case 0:
                    Application::shared().openURL(kStoreReviewUrl);
                    break;
                case 1:
                    push(std::make_shared<ProtocalViewController>());
                    break;
                case 2:
                    push(std::make_shared<FeedbackViewController>());
                    break;
                case 3:
                    checkUpdate();
                    break;
                default:
                    break;
            }
            break;
        case Cache: {
            auto alert = AlertView::create("提示", "确定要清除图片缓存吗？", this, "取消", {"确认"});
            alert->setTag(kClearCacheAlertTag);
            alert->show();
            break;
        }
        case Logout: {
            auto alert = AlertView::create("提示", "确定退出吗？", this, "取消", {"确认"});
            alert->setTag(kLogoutAlertTag);
            alert->show();
            break;
        }
        default:
            break;
    }
}

void ConfigViewController::openExternalAccount() {
    auto user = UserContext::getUser();
    if (!user) {
        return;
    }
    if (user->tpId > 0 && user->tokenExpired) {
        push(std::make_shared<AuthorizeExpiredViewController>(user->tpId));
    } else if (user->tpId <= 0) {
        push(std::make_shared<AuthorizeBindViewController>());
    }
}

void ConfigViewController::checkUpdate() {
    auto* hud = dimmedProgress(navigationView(), "检查新版本...");
    auto weak = weakSelf(this);
    auto weakHud = hud != nullptr ? weakSelf(hud) : std::weak_ptr<ProgressHUD>();
    Analytics::checkUpdate([weak, weakHud](const Json& answer) {
        if (auto shown = weakHud.lock()) {
            shown->hide(true);
        }
        if (auto self = weak.lock()) {
            self->showUpdateAnswer(answer);
        }
    });
}

void ConfigViewController::showUpdateAnswer(const Json& answer) {
    if (jsonBool(answer, "update")) {
        upgradeUrl_ = jsonString(answer, "path");
        auto alert = AlertView::create("有可用的版本" + jsonString(answer, "version"),
                                       jsonString(answer, "update_log"), this, "忽略此版本", {"访问 Store"});
        alert->setTag(kUpdateAlertTag);
        alert->show();
        return;
    }
    AlertView::create("无可用的版本", "当前版本：v" + Constant::appVersion() + "是最新版本", nullptr,
                      "知道了")
        ->show();
}

void ConfigViewController::alertViewClickedButton(AlertView& alertView, int index) {
    if (index == alertView.cancelButtonIndex()) {
        return;
    }
    switch (alertView.tag()) {
        case kUpdateAlertTag:
            if (!upgradeUrl_.empty()) {
                Application::shared().openURL(upgradeUrl_);
            }
            break;
        case kClearCacheAlertTag:
            clearImageCache();
            break;
        case kLogoutAlertTag:
            logout();
            break;
        default:
            break;
    }
}

void ConfigViewController::clearImageCache() {
    auto* hud = dimmedProgress(navigationView(), "清除图片缓存...");
    // Pictures in memory belong to the main loop; the files go on a worker.
    WebImageLoader::shared().clearMemory();
    ImageDiskCache* disk = &WebImageLoader::shared().diskCache();
    if (hud == nullptr) {
        disk->clear();
        return;
    }
    hud->showWhileExecuting([disk] { disk->clear(); }, {}, true);
}

void ConfigViewController::logout() {
    auto* hud = dimmedProgress(navigationView(), "账号注销...");
    auto finish = [] {
        Window* window = Application::shared().keyWindow();
        if (window != nullptr) {
            window->setRootViewController(LoginService::getInstance().loginTurnToViewController());
            window->makeKeyAndVisible();
        }
    };
    if (hud == nullptr) {
        LoginService::getInstance().logout();
        finish();
        return;
    }
    hud->showWhileExecuting([] { LoginService::getInstance().logout(); }, finish, true);
}

}  // namespace zorlet
