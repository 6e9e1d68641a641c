#pragma once

#include "ui/ActionSheet.h"
#include "ui/AlertView.h"

#include <vector>

namespace zorlet {

// The alerts and sheets on screen, oldest first; the last one is on top and
// takes the answer. Front-ends and tests read and answer them here.
class AlertRegistry {
public:
    static AlertRegistry& shared();

    const std::vector<AlertViewPtr>& alerts() const { return alerts_; }
    const std::vector<ActionSheetPtr>& sheets() const { return sheets_; }
    AlertView* topAlert() const { return alerts_.empty() ? nullptr : alerts_.back().get(); }
    ActionSheet* topSheet() const { return sheets_.empty() ? nullptr : sheets_.back().get(); }
    // Every alert shown since the last clear, answered or not (titles, for tests and logs).
    const std::vector<std::string>& shownAlertTitles() const { return history_; }

    // The user taps button `index` of the top alert / sheet; false when none is shown
    // or the index is not a button.
    bool answerAlert(int index);
    bool answerSheet(int index);

    // Test support: forgets everything without telling delegates.
    void clear();

private:
    friend class AlertView;
    friend class ActionSheet;
    friend class AlertViewDelegate;
    friend class ActionSheetDelegate;
    void add(AlertViewPtr alert);
    void add(ActionSheetPtr sheet);
    void remove(const AlertView* alert);
    void remove(const ActionSheet* sheet);
    void forgetDelegate(const AlertViewDelegate* delegate);
    void forgetDelegate(const ActionSheetDelegate* delegate);

    std::vector<AlertViewPtr> alerts_;
    std::vector<ActionSheetPtr> sheets_;
    std::vector<std::string> history_;
};

}  // namespace zorlet
