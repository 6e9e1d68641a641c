#pragma once

#include "platform/MainLoop.h"
#include "ui/NavigationBar.h"
#include "ui/NavigationItem.h"
#include "ui/ViewController.h"
#include "widgets/CustomTextView.h"

#include <memory>
#include <string>

namespace zorlet {

// A modal form that sends an invitation text for friends to the server.
class InviteInputViewController : public ViewController {
public:
    static constexpr const char* kDefaultText =
        "刚发现一个小清新的脱宅社区，蛮有新意的；周末不想宅在家的朋友可以来试试哦~";
    static constexpr Duration kFocusDelay{500};
    static constexpr Duration kCloseDelay{2000};

    explicit InviteInputViewController(std::string navTitle = {}) : navTitle(std::move(navTitle)) {}
    ~InviteInputViewController() override;
    std::string className() const override { return "InviteInputViewController"; }

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    void back();
    void sendShare();

    std::string navTitle;
    std::shared_ptr<NavigationBar> navigationBar;
    std::shared_ptr<CustomTextView> textView;

private:
    NavigationItem barItem_;
    TimerId focusTimer_ = 0;
    TimerId closeTimer_ = 0;
};

}  // namespace zorlet
