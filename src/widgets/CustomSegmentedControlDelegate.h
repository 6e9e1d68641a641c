#pragma once

#include <cstddef>
#include <memory>

namespace zorlet {

class Button;
class CustomSegmentedControl;

// Supplies a segmented control's buttons and hears its touches (both optional).
class CustomSegmentedControlDelegate {
public:
    virtual ~CustomSegmentedControlDelegate() = default;
    virtual std::shared_ptr<Button> buttonFor(CustomSegmentedControl& control, std::size_t index) = 0;
    virtual void touchDownAtSegmentIndex(std::size_t index) {}
    virtual void touchUpInsideSegmentIndex(std::size_t index) {}
};

}  // namespace zorlet
