#pragma once

#include "session/ExternalProvider.h"
#include "ui/TableView.h"
#include "ui/TextField.h"
#include "ui/ViewController.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace zorlet {

class Button;

// Signing in with an account name (an e-mail address) and password, or with an
// external account. The root of its own modal navigation controller above the
// welcome screen.
class LoginViewController : public ViewController,
                            public TableViewDataSource,
                            public TableViewDelegate,
                            public TextFieldDelegate {
public:
    LoginViewController();
    std::string className() const override { return "LoginViewController"; }

    void loadView() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    // Validates, then signs in while the progress indicator is shown.
    void login();
    // The window's root becomes the first screen for the signed-in user.
    void redirect();
    void getbackPwd();
    void back();
    void sinaLogin() { loginTpId(kWeiboProvider.tpId); }
    void dbLogin() { loginTpId(kDoubanProvider.tpId); }
    void qqLogin() { loginTpId(kQqProvider.tpId); }
    void loginTpId(std::int64_t tpId);
    void backgroundTap();

    int numberOfRows(TableView&, int section) override;
    TableViewCellPtr cellForRow(TableView&, IndexPath indexPath) override;
    double heightForRow(TableView&, IndexPath) override { return kRowHeight; }

    bool textFieldShouldChangeCharacters(TextField&, TextRange, const std::string&) override;
    bool textFieldShouldReturn(TextField& field) override;

    std::shared_ptr<TextField> nameField;
    std::shared_ptr<TextField> pwdField;
    std::shared_ptr<TableView> loginFormTableView;

    static constexpr double kRowHeight = 45;
    static constexpr const char* kEmptyInputMessage = "请输入登录账号和密码";

private:
    // The sign-in work, off the main loop.
    void doLogin(const std::string& name, const std::string& password);

    std::vector<TableViewCellPtr> formCells_;
};

}  // namespace zorlet
