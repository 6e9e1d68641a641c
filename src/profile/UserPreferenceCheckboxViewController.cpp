#include "profile/UserPreferenceCheckboxViewController.h"

#include "model/EmptyText.h"
#include "profile/UserPreferenceDescriptionViewController.h"
#include "ui/NavigationController.h"

#include <algorithm>

namespace zorlet {

namespace {

// Answers arrive as numbers or as decimal texts; they are compared as text.
std::string answerText(const Json& answer) {
    return jsonTextForm(answer);
}

}  // namespace

void UserPreferenceCheckboxViewController::viewDidLoad() {
    UserPreferenceItemEditorViewController::viewDidLoad();
    copyPreference = preference ? preference->copy() : std::make_shared<Preference>();
    setTitle(copyPreference->title);
    tableView = std::make_shared<TableView>(view().bounds(), TableView::Style::Grouped);
    tableView->setId("tableView");
    tableView->setAutoresizingMask(View::FlexibleSize);
    tableView->setBackgroundColor(Color::clearColor());
    tableView->setDataSource(this);
    tableView->setDelegate(this);
    view().addSubview(tableView);
}

void UserPreferenceCheckboxViewController::viewWillAppear(bool animated) {
    UserPreferenceItemEditorViewController::viewWillAppear(animated);
    tableView->reloadData();
}

bool UserPreferenceCheckboxViewController::isChecked(std::int64_t value) const {
    std::string text = std::to_string(value);
    return std::any_of(copyPreference->answers.begin(), copyPreference->answers.end(),
                       [&](const Json& answer) { return answerText(answer) == text; });
}

int UserPreferenceCheckboxViewController::numberOfSections(TableView&) {
    return copyPreference->openDescription ? 2 : 1;
}

int UserPreferenceCheckboxViewController::numberOfRows(TableView&, int section) {
    return section == 0 ? static_cast<int>(copyPreference->options.size()) : 1;
}

TableViewCellPtr UserPreferenceCheckboxViewController::cellForRow(TableView& table, IndexPath indexPath) {
    if (indexPath.section == 0) {
        auto cell = table.dequeueReusableCell(kOptionCellIdentifier);
        if (!cell) {
            cell = std::make_shared<TableViewCell>(TableViewCell::Style::Default, kOptionCellIdentifier);
        }
        const auto& option = copyPreference->options.at(static_cast<std::size_t>(indexPath.row));
        cell->textLabel().setText(option->name);
        cell->setAccessoryType(isChecked(option->value) ? TableViewCell::AccessoryType::Checkmark
                                                        : TableViewCell::AccessoryType::None);
        return cell;
    }
    auto cell = table.dequeueReusableCell(kDescriptionCellIdentifier);
    if (!cell) {
        cell = std::make_shared<TableViewCell>(TableViewCell::Style::Subtitle, kDescriptionCellIdentifier);
    }
    cell->setAccessoryType(TableViewCell::AccessoryType::DisclosureIndicator);
    cell->textLabel().setText("补充说明");
    cell->detailTextLabel().setText(isEmpty(copyPreference->description) ? std::string("自己说点什么吧...")
                                                                         : copyPreference->description);
    return cell;
}

void UserPreferenceCheckboxViewController::didSelectRow(TableView& table, IndexPath indexPath) {
    table.deselectRow(indexPath, true);
    if (indexPath.section == 0) {
        toggleOption(indexPath.row);
        return;
    }
    if (NavigationController* navigation = navigationController()) {
        auto supplement = std::make_shared<UserPreferenceDescriptionViewController>();
        supplement->preference = copyPreference;
        navigation->pushViewController(supplement, true);
    }
}

void UserPreferenceCheckboxViewController::toggleOption(int row) {
    if (row < 0 || row >= static_cast<int>(copyPreference->options.size())) {
        return;
    }
    std::int64_t value = copyPreference->options[static_cast<std::size_t>(row)]->value;
    auto& answers = copyPreference->answers;
    auto count = static_cast<std::int64_t>(answers.size());
    if (isChecked(value)) {
        if (count <= copyPreference->minValidationValue) {
            showMessage("请至少选择" + std::to_string(copyPreference->minValidationValue) + "项");
            return;
        }
        std::string text = std::to_string(value);
        answers.erase(std::remove_if(answers.begin(), answers.end(),
                                     [&](const Json& answer) { return answerText(answer) == text; }),
                      answers.end());
    } else {
        if (count >= copyPreference->maxValidationValue) {
            showMessage("选择请不要超过" + std::to_string(copyPreference->maxValidationValue) + "项");
            return;
        }
        answers.emplace_back(std::to_string(value));
    }
    tableView->reloadData();
}

void UserPreferenceCheckboxViewController::save() {
    if (!preference) {
        return;
    }
    preference->answers = copyPreference->answers;
    std::string shown;
    for (const Json& answer : preference->answers) {
        long long position = std::atoll(answerText(answer).c_str());
        // An answer that names no option (the catalogue changed) is kept but not shown.
        if (position < 0 || position >= static_cast<long long>(preference->options.size())) {
            continue;
        }
        if (!shown.empty()) {
            shown += ",";
        }
        shown += preference->options[static_cast<std::size_t>(position)]->name;
    }
    preference->displayAnswer = shown;
    preference->description = copyPreference->description;
    UserPreferenceItemEditorViewController::save();
}

}  // namespace zorlet
