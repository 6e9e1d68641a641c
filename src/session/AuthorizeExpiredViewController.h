#pragma once

#include "ui/Label.h"
#include "ui/ViewController.h"

#include <cstdint>
#include <memory>

namespace zorlet {

// Tells the user that the external account's authorization has expired and
// offers to renew it on the provider's pages. Once the signed-in user is no
// longer expired (seen whenever the screen appears), it confirms and pops.
class AuthorizeExpiredViewController : public ViewController {
public:
    explicit AuthorizeExpiredViewController(std::int64_t tpId = 0);
    std::string className() const override { return "AuthorizeExpiredViewController"; }

    void loadView() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewDidAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    void openAuthorize();
    void back();

    std::int64_t tpId = 0;
    std::shared_ptr<Label> label1;
    std::shared_ptr<Label> label2;

    static constexpr const char* kConfirmText = "授权成功";

private:
    bool confirming_ = false;
};

}  // namespace zorlet
