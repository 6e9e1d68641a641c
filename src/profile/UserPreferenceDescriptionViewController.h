#pragma once

#include "model/Preference.h"
#include "ui/TextField.h"
#include "ui/ViewController.h"

#include <memory>
#include <string>

namespace zorlet {

// "补充说明": the free-text supplement of a multiple-choice question. It edits
// the multiple-choice screen's copy, so the change is kept only when that
// screen is confirmed too.
class UserPreferenceDescriptionViewController : public ViewController, public TextFieldDelegate {
public:
    // In length units: 50 Chinese characters.
    static constexpr std::size_t kMaxLength = 100;

    UserPreferenceDescriptionViewController();
    std::string className() const override { return "UserPreferenceDescriptionViewController"; }

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    void save();

    bool textFieldShouldChangeCharacters(TextField&, TextRange, const std::string&) override;

    PreferencePtr preference;
    std::shared_ptr<TextField> textField;
};

}  // namespace zorlet
