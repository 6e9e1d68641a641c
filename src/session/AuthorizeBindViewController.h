#pragma once

#include "session/TpLoginDelegate.h"
#include "ui/TableView.h"
#include "ui/ViewController.h"

#include <memory>

namespace zorlet {

// Offers to bind an external account to the signed-in account: the provider
// list in bind mode. Once the signed-in user has a provider (seen whenever the
// screen appears), it confirms and pops.
class AuthorizeBindViewController : public ViewController {
public:
    AuthorizeBindViewController();
    ~AuthorizeBindViewController() override;
    std::string className() const override { return "AuthorizeBindViewController"; }

    void loadView() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    void back();

    std::shared_ptr<TableView> tpLoginTableView;

    static constexpr const char* kConfirmText = "绑定成功";

private:
    std::unique_ptr<TpLoginDelegate> tpLoginDelegate_;
    bool confirming_ = false;
};

}  // namespace zorlet
