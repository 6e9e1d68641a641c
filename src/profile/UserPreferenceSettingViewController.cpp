#include "profile/UserPreferenceSettingViewController.h"

#include "app/CustomNavigationController.h"
#include "app/ScreenActions.h"
#include "model/UserHome.h"
#include "net/HttpRequestSender.h"
#include "net/UrlUtils.h"
#include "platform/Analytics.h"
#include "platform/TextLayout.h"
#include "platform/WeakSelf.h"
#include "profile/UserPreferenceCheckboxViewController.h"
#include "profile/UserPreferenceTextareaViewController.h"
#include "session/UserContext.h"
#include "ui/ProgressHUD.h"
#include "widgets/CustomActionSheet.h"
#include "widgets/OperationProgress.h"

#include <algorithm>

namespace zorlet {

namespace {

constexpr double kDetailWidth = 260;
constexpr double kDetailMaxHeight = 1000;

std::string indexed(const char* format, std::size_t i, std::size_t j = 0) {
    char key[96];
    std::snprintf(key, sizeof key, format, static_cast<int>(i), static_cast<int>(j));
    return key;
}

}  // namespace

UserPreferenceSettingViewController::UserPreferenceSettingViewController() {
    setTitle("设置Zorlet偏好");
}

void UserPreferenceSettingViewController::loadView() {
    tableView = std::make_shared<TableView>(Rect(0, 0, kScreenWidth, 416), TableView::Style::Grouped);
    tableView->setId("tableView");
    tableView->setAutoresizingMask(View::FlexibleSize);
    setView(tableView);
}

void UserPreferenceSettingViewController::viewDidLoad() {
    preferenceArray.clear();
    if (UserHomePtr home = UserContext::getUserHome()) {
        for (const auto& preference : home->preferences) {
            preferenceArray.push_back(preference->copy());
        }
    }
    saveButton_ = ScreenActions::barItem("保存", BarButtonItem::Style::Done, "save", this,
                                         &UserPreferenceSettingViewController::save);
    saveButton_->setEnabled(false);
    navigationItem().setRightBarButtonItem(saveButton_);
    navigationItem().setLeftBarButtonItem(
        ScreenActions::barItem("取消", BarButtonItem::Style::Bordered, "cancel", this,
                               &UserPreferenceSettingViewController::cancel));
    tableView->setDataSource(this);
    tableView->setDelegate(this);
}

void UserPreferenceSettingViewController::viewWillAppear(bool) {
    Analytics::beginLogPageView(className());
    if (saveButton_->isEnabled()) {
        tableView->reloadData();
        needToBackAlert(true);
    }
}

void UserPreferenceSettingViewController::viewWillDisappear(bool) {
    Analytics::endLogPageView(className());
}

void UserPreferenceSettingViewController::cancel() {
    if (auto* navigation = dynamic_cast<CustomNavigationController*>(navigationController())) {
        navigation->popViewController();
    } else if (NavigationController* plain = navigationController()) {
        plain->popViewController(true);
    }
}

bool UserPreferenceSettingViewController::needToBackAlert(bool alert) {
    if (auto* navigation = dynamic_cast<CustomNavigationController*>(navigationController())) {
        navigation->setPopAlert(alert);
        // The bar draws its buttons from the items: show "保存" in its new state.
        if (navigation->topViewController() == this) {
            navigation->refreshNavigationBar();
        }
    }
    return alert;
}

void UserPreferenceSettingViewController::saveComplete() {
    saveButton_->setEnabled(true);
    needToBackAlert(true);
}

// Table

int UserPreferenceSettingViewController::numberOfSections(TableView&) {
    std::size_t count = preferenceArray.size();
    return static_cast<int>((count + kPreferencesPerSection - 1) / kPreferencesPerSection);
}

int UserPreferenceSettingViewController::numberOfRows(TableView&, int section) {
    std::size_t first = static_cast<std::size_t>(section) * kPreferencesPerSection;
    std::size_t count = preferenceArray.size();
    return first < count ? static_cast<int>(std::min<std::size_t>(kPreferencesPerSection, count - first)) : 0;
}

PreferencePtr UserPreferenceSettingViewController::preferenceAt(IndexPath indexPath) const {
    if (indexPath.section < 0 || indexPath.row < 0) {
        return nullptr;
    }
    std::size_t index = static_cast<std::size_t>(indexPath.section) * kPreferencesPerSection +
                        static_cast<std::size_t>(indexPath.row);
    return index < preferenceArray.size() ? preferenceArray[index] : nullptr;
}

TableViewCellPtr UserPreferenceSettingViewController::cellForRow(TableView& table, IndexPath indexPath) {
    auto cell = table.dequeueReusableCell(kCellIdentifier);
    if (!cell) {
        cell = std::make_shared<TableViewCell>(TableViewCell::Style::Subtitle, kCellIdentifier);
    }
    cell->setBackgroundColor(Color::whiteColor());
    cell->setAccessoryType(TableViewCell::AccessoryType::DisclosureIndicator);
    cell->detailTextLabel().setNumberOfLines(0);
    if (auto preference = preferenceAt(indexPath)) {
        cell->textLabel().setText(preference->title);
        cell->detailTextLabel().setText(preference->finalDisplayAnswer());
    }
    return cell;
}

double UserPreferenceSettingViewController::heightForRow(TableView&, IndexPath indexPath) {
    auto preference = preferenceAt(indexPath);
    std::string answer = preference ? preference->finalDisplayAnswer() : std::string();
    return TextLayout::shared()
               .measure(answer, Font::systemFont(14), kDetailWidth, kDetailMaxHeight, LineBreakMode::WordWrap)
               .height +
           40;
}

void UserPreferenceSettingViewController::didSelectRow(TableView& table, IndexPath indexPath) {
    table.deselectRow(indexPath, true);
    auto preference = preferenceAt(indexPath);
    if (!preference) {
        return;
    }
    currentPreference = preference;
    NavigationController* navigation = navigationController();
    std::shared_ptr<UserPreferenceItemEditorDelegate> self(
        shared_from_this(), static_cast<UserPreferenceItemEditorDelegate*>(this));
    if (preference->inputType == Preference::FreeText ||
        preference->inputType == Preference::MultipleChoice) {
        if (navigation == nullptr) {
            return;
        }
        std::shared_ptr<UserPreferenceItemEditorViewController> editor;
        if (preference->inputType == Preference::FreeText) {
            editor = std::make_shared<UserPreferenceTextareaViewController>();
        } else {
            editor = std::make_shared<UserPreferenceCheckboxViewController>();
        }
        editor->preference = preference;
        editor->delegate = self;
        navigation->pushViewController(editor, true);
        return;
    }
    showPicker(preference);
}

// Picker sheet

void UserPreferenceSettingViewController::showPicker(const PreferencePtr& preference) {
    currentPreference = preference;
    picker = std::make_shared<PickerView>(Rect(0, 0, kScreenWidth, kPickerHeight));
    picker->setId("preferencePicker");
    picker->setShowsSelectionIndicator(true);
    picker->setDataSource(this);
    picker->setDelegate(this);
    auto position = std::find(preferenceArray.begin(), preferenceArray.end(), preference);
    picker->setTag(static_cast<int>(position - preferenceArray.begin()));

    const auto& answers = preference->answers;
    if (preference->inputType == Preference::SingleChoice && !answers.empty()) {
        picker->selectRow(static_cast<int>(jsonInt(Json{{"v", answers.front()}}, "v")) + 1, 0);
    } else if (preference->inputType == Preference::Range && answers.size() == 2) {
        for (int wheel = 0; wheel < 2; ++wheel) {
            auto value = jsonInt(Json{{"v", answers[static_cast<std::size_t>(wheel)]}}, "v");
            picker->selectRow(static_cast<int>(value - preference->minValidationValue), wheel);
        }
    }
    std::shared_ptr<CustomActionSheetDelegate> delegate(shared_from_this(),
                                                        static_cast<CustomActionSheetDelegate*>(this));
    auto sheet = CustomActionSheet::create(kPickerHeight, preference->title, delegate);
    sheet->view().addSubview(picker);
    sheet->showInView(&view());
}

int UserPreferenceSettingViewController::numberOfComponents(PickerView&) {
    if (!currentPreference) {
        return 0;
    }
    if (currentPreference->inputType == Preference::SingleChoice) {
        return 1;
    }
    return currentPreference->inputType == Preference::Range ? 2 : 0;
}

int UserPreferenceSettingViewController::numberOfRows(PickerView&, int) {
    if (!currentPreference) {
        return 0;
    }
    if (currentPreference->inputType == Preference::SingleChoice) {
        return static_cast<int>(currentPreference->options.size()) + 1;
    }
    std::int64_t span = currentPreference->maxValidationValue - currentPreference->minValidationValue + 1;
    // A catalogue whose bounds are reversed offers nothing to pick rather than a negative count.
    return static_cast<int>(std::clamp<std::int64_t>(span, 0, 100000));
}

std::string UserPreferenceSettingViewController::titleForRow(PickerView&, int row, int) {
    if (!currentPreference || row < 0) {
        return {};
    }
    if (currentPreference->inputType == Preference::SingleChoice) {
        if (row == 0) {
            return "请选择";
        }
        auto index = static_cast<std::size_t>(row - 1);
        return index < currentPreference->options.size() ? currentPreference->options[index]->name
                                                         : std::string();
    }
    return std::to_string(currentPreference->minValidationValue + row);
}

void UserPreferenceSettingViewController::done(CustomActionSheet&) {
    if (!currentPreference || !picker) {
        return;
    }
    Preference& preference = *currentPreference;
    if (preference.inputType == Preference::SingleChoice) {
        preference.answers.clear();
        int row = picker->selectedRow(0);
        if (row > 0 && static_cast<std::size_t>(row - 1) < preference.options.size()) {
            const auto& option = preference.options[static_cast<std::size_t>(row - 1)];
            preference.answers.emplace_back(option->value);
            preference.displayAnswer = option->name;
        } else {
            preference.displayAnswer.clear();
        }
    } else if (preference.inputType == Preference::Range) {
        if (picker->selectedRow(0) < 0 || picker->selectedRow(1) < 0) {
            return;
        }
        preference.answers.clear();
        std::int64_t a = picker->selectedRow(0) + preference.minValidationValue;
        std::int64_t b = picker->selectedRow(1) + preference.minValidationValue;
        std::int64_t low = std::min(a, b);
        std::int64_t high = std::max(a, b);
        preference.answers.emplace_back(low);
        preference.answers.emplace_back(high);
        preference.displayAnswer =
            low == high ? std::to_string(low) : std::to_string(low) + "-" + std::to_string(high);
    } else {
        return;
    }
    saveButton_->setEnabled(true);
    needToBackAlert(true);
    tableView->reloadData();
}

// Saving

Json UserPreferenceSettingViewController::saveParams() const {
    Json params = Json::object();
    for (std::size_t i = 0; i < preferenceArray.size(); ++i) {
        const Preference& preference = *preferenceArray[i];
        params[indexed("userPreferences[%d].preferenceId", i)] = preference.preferendeId;
        if (preference.openDescription) {
            params[indexed("userPreferences[%d].description", i)] = preference.description;
        }
        for (std::size_t j = 0; j < preference.answers.size(); ++j) {
            params[indexed("userPreferences[%d].answer[%d]", i, j)] = jsonTextForm(preference.answers[j]);
        }
    }
    return params;
}

View* UserPreferenceSettingViewController::hudHost() {
    if (NavigationController* navigation = navigationController()) {
        return &navigation->view();
    }
    return &view();
}

void UserPreferenceSettingViewController::save() {
    View* host = hudHost();
    auto hud = OperationProgress::show(host, "保存中...");
    auto request = HttpRequestSender::postRequestWithUrl(
        UrlUtils::urlStringWithUri("home/v132/savePreference"), saveParams());
    if (!request) {
        OperationProgress::hide(hud);
        return;
    }
    auto weak = weakSelf(this);
    HttpRequestSender::doRequest(request, host, [weak, hud](const Json& envelope) {
        if (auto self = weak.lock()) {
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
