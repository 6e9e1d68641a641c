#pragma once

#include "app/CustomNavigationController.h"
#include "ui/Button.h"

#include <memory>

namespace zorlet {

// The navigation controller of the message tab. It also supplies the two
// buttons of the message tab's segment control ("私信" and "留言"); only the
// first is in use, so touching a segment changes nothing.
class MessageNavigationController : public CustomNavigationController {
public:
    using CustomNavigationController::CustomNavigationController;
    std::string className() const override { return "MessageNavigationController"; }

    static constexpr int kSegmentCount = 2;
    static constexpr double kSegmentWidth = 51;
    static constexpr double kSegmentHeight = 30;

    // The button of segment `index`; segment 0 starts selected.
    std::shared_ptr<Button> buttonFor(int index) const;
    void touchUpInsideSegmentIndex(int /*index*/) {}
};

}  // namespace zorlet
