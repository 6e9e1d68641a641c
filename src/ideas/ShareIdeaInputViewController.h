#pragma once

#include "model/Idea.h"
#include "platform/MainLoop.h"
#include "ui/Button.h"
#include "ui/TextView.h"
#include "ui/ViewController.h"

#include <memory>
#include <string>

namespace zorlet {

// Shares an idea to the user's bound platform: the text, ready made from the
// idea, can be edited before it goes out.
class ShareIdeaInputViewController : public ViewController {
public:
    static constexpr Duration kKeyboardDelay{500};
    static constexpr Duration kCloseDelay{2000};

    ~ShareIdeaInputViewController() override;
    std::string className() const override { return "ShareIdeaInputViewController"; }

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    void sendShare();
    void back();

    IdeaPtr idea;
    std::string navTitle;
    std::shared_ptr<TextView> textView;
    std::shared_ptr<Button> sendButton;

private:
    TimerId keyboardTimer_ = 0;
    TimerId closeTimer_ = 0;
};

}  // namespace zorlet
