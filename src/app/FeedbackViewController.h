#pragma once

#include "platform/MainLoop.h"
#include "ui/ViewController.h"
#include "widgets/CustomTextView.h"

#include <memory>
#include <string>

namespace zorlet {

// The feedback form: the text goes as a private message to the service's own account.
class FeedbackViewController : public ViewController {
public:
    static constexpr std::int64_t kServiceUid = 2;
    static constexpr Duration kLeaveAfterSuccess{2000};

    ~FeedbackViewController() override;
    std::string className() const override { return "FeedbackViewController"; }

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    void save();
    void back();

    std::shared_ptr<CustomTextView> customTextView;

private:
    TimerId leaveTimer_ = 0;
};

}  // namespace zorlet
