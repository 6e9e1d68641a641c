#pragma once

#include "platform/HttpRequest.h"
#include "ui/AlertView.h"
#include "ui/TextField.h"
#include "ui/ViewController.h"

#include <memory>
#include <string>

namespace zorlet {

// Asks the service to mail a forgotten password to the account's address.
// Pushed from the sign-in screen; pops back there once the mail is on its way.
class GetbackPwdViewController : public ViewController, public AlertViewDelegate {
public:
    GetbackPwdViewController();
    std::string className() const override { return "GetbackPwdViewController"; }

    void loadView() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    // Validates, then requests the recovery mail while the progress indicator is shown.
    void getback();
    void backgroundTap();

    // The "mail sent" alert was answered.
    void alertViewClickedButton(AlertView& alertView, int index) override;

    std::shared_ptr<TextField> textField;

    static constexpr const char* kSentTitle = "邮件已发出";

private:
    void getbackFinish(const std::string& account);
    void getbackAnswered(HttpRequest& request, const std::string& account);
};

}  // namespace zorlet
