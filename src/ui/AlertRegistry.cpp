#include "ui/AlertRegistry.h"

#include <algorithm>

namespace zorlet {

AlertRegistry& AlertRegistry::shared() {
    static AlertRegistry registry;
    return registry;
}

void AlertRegistry::add(AlertViewPtr alert) {
    history_.push_back(alert->title());
    alerts_.push_back(std::move(alert));
}

void AlertRegistry::add(ActionSheetPtr sheet) {
    sheets_.push_back(std::move(sheet));
}

void AlertRegistry::remove(const AlertView* alert) {
    std::erase_if(alerts_, [&](const AlertViewPtr& a) { return a.get() == alert; });
}

void AlertRegistry::remove(const ActionSheet* sheet) {
    std::erase_if(sheets_, [&](const ActionSheetPtr& s) { return s.get() == sheet; });
}

void AlertRegistry::forgetDelegate(const AlertViewDelegate* delegate) {
    for (auto& alert : alerts_) {
        if (alert->delegate_ == delegate) {
            alert->delegate_ = nullptr;
        }
    }
}

void AlertRegistry::forgetDelegate(const ActionSheetDelegate* delegate) {
    for (auto& sheet : sheets_) {
        if (sheet->delegate_ == delegate) {
            sheet->delegate_ = nullptr;
        }
    }
}

bool AlertRegistry::answerAlert(int index) {
    if (alerts_.empty() || index < 0 || index >= alerts_.back()->numberOfButtons()) {
        return false;
    }
    AlertViewPtr alert = alerts_.back();
    alert->clickButton(index);
    return true;
}

bool AlertRegistry::answerSheet(int index) {
    if (sheets_.empty() || index < 0 || index >= sheets_.back()->numberOfButtons()) {
        return false;
    }
    ActionSheetPtr sheet = sheets_.back();
    sheet->clickButton(index);
    return true;
}

void AlertRegistry::clear() {
    // Drop them outside the vectors: a dying alert's field may touch the registry.
    std::vector<AlertViewPtr> alerts;
    alerts.swap(alerts_);
    std::vector<ActionSheetPtr> sheets;
    sheets.swap(sheets_);
    history_.clear();
}

}  // namespace zorlet
