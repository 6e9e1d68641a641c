#pragma once

#include "platform/HttpRequest.h"
#include "session/ExternalProvider.h"
#include "ui/TableView.h"
#include "ui/TextField.h"
#include "ui/ViewController.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

namespace zorlet {

// Registering a new account (e-mail address, nickname, password twice), or
// signing in with an external account instead. The root of its own modal
// navigation controller above the welcome screen.
class RegisterViewController : public ViewController,
                               public TableViewDataSource,
                               public TableViewDelegate,
                               public TextFieldDelegate {
public:
    RegisterViewController();
    std::string className() const override { return "RegisterViewController"; }

    void loadView() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    // Validates, then registers while the progress indicator is shown.
    void regist();
    void back();
    void sinaLogin() { loginTpId(kWeiboProvider.tpId); }
    void dbLogin() { loginTpId(kDoubanProvider.tpId); }
    void qqLogin() { loginTpId(kQqProvider.tpId); }
    void loginTpId(std::int64_t tpId);
    void backgroundTap();

    int numberOfRows(TableView&, int section) override { return 4; }
    TableViewCellPtr cellForRow(TableView&, IndexPath indexPath) override;
    double heightForRow(TableView&, IndexPath) override { return kRowHeight; }

    bool textFieldShouldChangeCharacters(TextField&, TextRange, const std::string&) override;
    bool textFieldShouldReturn(TextField& field) override;

    std::shared_ptr<TextField> accountField;
    std::shared_ptr<TextField> nicknameField;
    std::shared_ptr<TextField> passwordField;
    std::shared_ptr<TextField> confirmPwdField;
    std::shared_ptr<TableViewCell> accountCell;
    std::shared_ptr<TableViewCell> nicknameCell;
    std::shared_ptr<TableViewCell> passwordCell;
    std::shared_ptr<TableViewCell> confirmPwdCell;
    std::shared_ptr<TableView> registerFormTableView;

    static constexpr double kRowHeight = 45;
    static constexpr std::size_t kMaxNicknameLength = 20;  // 10 Chinese characters
    static constexpr std::size_t kMinPasswordLength = 6;
    static constexpr std::size_t kMaxPasswordLength = 32;

private:
    // The first failing check's message and the field to correct; nothing when all pass.
    std::optional<std::pair<const char*, TextField*>> firstProblem() const;
    void doRegister();
    // Back on the main loop with the finished request.
    void registerFinished(HttpRequest& request);
};

}  // namespace zorlet
