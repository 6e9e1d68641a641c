#pragma once

#include "profile/UserPreferenceItemEditorViewController.h"
#include "widgets/CustomTextView.h"

#include <memory>
#include <string>

namespace zorlet {

// A free-text question: the answer is typed, its length checked against the
// question's bounds (in length units: a Chinese character counts two).
class UserPreferenceTextareaViewController : public UserPreferenceItemEditorViewController {
public:
    std::string className() const override { return "UserPreferenceTextareaViewController"; }

    void viewDidLoad() override;
    void viewDidAppear(bool animated) override;
    void save() override;

    std::shared_ptr<CustomTextView> textView;
};

}  // namespace zorlet
