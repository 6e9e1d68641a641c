#pragma once

#include "platform/MainLoop.h"
#include "ui/TextField.h"
#include "ui/TextView.h"
#include "ui/ViewController.h"

#include <cstdint>
#include <memory>
#include <string>

namespace zorlet {

class SettingViewController;

// A small editor for one text of the profile form, pushed over the form.
// "确定" checks the text and reports it to the form, which keeps it until the
// whole form is saved.
class DetailEditorViewController : public ViewController, public TextFieldDelegate, public TextViewDelegate {
public:
    static constexpr Duration kKeyboardDelay{500};

    explicit DetailEditorViewController(const std::shared_ptr<SettingViewController>& settingViewController);

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    // Checks the text; a valid one goes to the form and the editor closes.
    virtual void save() = 0;

    // The form this editor reports to (not owned: the form is below it on the stack).
    std::shared_ptr<SettingViewController> settingViewController() const {
        return settingViewController_.lock();
    }

    // No typing while the keyboard is in its emoji mode.
    bool textFieldShouldChangeCharacters(TextField&, TextRange, const std::string&) override;
    bool textViewShouldChangeText(TextView&, TextRange, const std::string&) override;

protected:
    // The input the keyboard opens for shortly after the editor appears, if any.
    virtual TextInput* focusInput() { return nullptr; }
    // Reports the value to the form and goes back to it.
    void finish(const std::string& identifier, const std::string& text, std::int64_t valueId);
    // Lowers the keyboard and tells the user what is wrong; the editor stays.
    void refuse(const std::string& message);
    // The editor's layout resource, or a plain view when it is missing.
    void loadViewNamed(const std::string& name);

private:
    std::weak_ptr<SettingViewController> settingViewController_;
    TimerId focusTimer_ = 0;
};

}  // namespace zorlet
