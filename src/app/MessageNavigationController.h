#pragma once

#include "app/CustomNavigationController.h"
#include "ui/Button.h"
#include "widgets/CustomSegmentedControl.h"
#include "widgets/CustomSegmentedControlDelegate.h"

#include <memory>

namespace zorlet {

// The navigation controller of the message tab. It is the delegate of the
// tab's two-segment control ("私信" and "留言"): it makes the buttons, and
// since only the first segment is in use, touching one changes nothing.
class MessageNavigationController : public CustomNavigationController, public CustomSegmentedControlDelegate {
public:
    using CustomNavigationController::CustomNavigationController;
    std::string className() const override { return "MessageNavigationController"; }

    static constexpr int kSegmentCount = 2;
    static constexpr double kSegmentWidth = 51;
    static constexpr double kSegmentHeight = 30;

    // The button of segment `index`; segment 0 starts selected.
    std::shared_ptr<Button> buttonFor(int index) const;
    // The tab's segment control, made on first use with this controller as its delegate.
    const std::shared_ptr<CustomSegmentedControl>& segmentedControl();

    // CustomSegmentedControlDelegate
    std::shared_ptr<Button> buttonFor(CustomSegmentedControl& control, std::size_t index) override;
    void touchUpInsideSegmentIndex(std::size_t /*index*/) override {}

private:
    std::shared_ptr<CustomSegmentedControl> segmentedControl_;
};

}  // namespace zorlet
