#pragma once

#include "model/User.h"
#include "ui/ViewController.h"
#include "widgets/CustomTextView.h"

#include <memory>
#include <string>

namespace zorlet {

// Writes an invitation to go out together to one user; the server can
// suggest a text.
class PrepareDateTaViewController : public ViewController {
public:
    // In chineseLength units: 160 characters.
    static constexpr std::size_t kMaxLength = 320;

    std::string className() const override { return "PrepareDateTaViewController"; }
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    void save();
    void dateRandom();
    void back();

    UserPtr user;
    std::shared_ptr<CustomTextView> textView;
};

}  // namespace zorlet
