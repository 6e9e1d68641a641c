#pragma once

#include "model/Preference.h"
#include "profile/UserPreferenceItemEditorDelegate.h"
#include "ui/TextField.h"
#include "ui/TextView.h"
#include "ui/ViewController.h"

#include <memory>

namespace zorlet {

// The base of the screens that edit one question of the questionnaire:
// "确定" stores the answer in `preference`, tells the delegate and goes back.
class UserPreferenceItemEditorViewController : public ViewController,
                                               public TextViewDelegate,
                                               public TextFieldDelegate {
public:
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    virtual void save();

    // No typing while the keyboard is in its emoji mode.
    bool textViewShouldChangeText(TextView&, TextRange, const std::string&) override;
    bool textFieldShouldChangeCharacters(TextField&, TextRange, const std::string&) override;

    // The question edited: an element of the questionnaire screen's own copy.
    PreferencePtr preference;
    // The questionnaire screen, below this one on the stack.
    std::weak_ptr<UserPreferenceItemEditorDelegate> delegate;

protected:
    void showMessage(const std::string& text);
};

}  // namespace zorlet
