#include "widgets/CustomSegmentedControl.h"

#include "ui/ImageView.h"

namespace zorlet {

CustomSegmentedControl::CustomSegmentedControl(std::size_t segmentCount, Size segmentSize,
                                               ImageAssetPtr dividerImage, int tag,
                                               CustomSegmentedControlDelegate* delegate)
    : delegate_(delegate), self_(std::make_shared<CustomSegmentedControl*>(this)) {
    setTag(tag);
    double dividerWidth = dividerImage ? dividerImage->size().width : 0;
    double count = static_cast<double>(segmentCount);
    setFrame(Rect(0, 0, segmentCount == 0 ? 0 : count * segmentSize.width + (count - 1) * dividerWidth,
                  segmentSize.height));

    for (std::size_t i = 0; i < segmentCount; ++i) {
        std::shared_ptr<Button> button = delegate_ != nullptr ? delegate_->buttonFor(*this, i) : nullptr;
        if (!button) {
            // Keeps the segment indexes in step with the positions.
            button = std::make_shared<Button>(Rect(Point(), segmentSize));
        }
        std::weak_ptr<CustomSegmentedControl*> self = self_;
        button->addTarget(TouchDown, [self](Control& sender) {
            if (auto control = self.lock()) {
                (*control)->touchDownAction(sender);
            }
        });
        button->addTarget(TouchUpInside, [self](Control& sender) {
            if (auto control = self.lock()) {
                (*control)->touchUpInsideAction(sender);
            }
        });
        button->addTarget(TouchUpOutside | TouchDragOutside | TouchDragInside, [self](Control& sender) {
            if (auto control = self.lock()) {
                (*control)->otherTouchesAction(sender);
            }
        });
        buttons_.push_back(button);

        double x = static_cast<double>(i) * (segmentSize.width + dividerWidth);
        button->setFrame(Rect(Point{x, 0}, button->frame().size));
        addSubview(button);

        if (dividerImage && i + 1 < segmentCount) {
            auto divider = std::make_shared<ImageView>(dividerImage);
            divider->setFrame(Rect(Point{x + segmentSize.width, 0}, divider->frame().size));
            dividers_.push_back(divider);
            addSubview(divider);
        }
    }
}

std::shared_ptr<CustomSegmentedControl> CustomSegmentedControl::create(
    std::size_t segmentCount, Size segmentSize, ImageAssetPtr dividerImage, int tag,
    CustomSegmentedControlDelegate* delegate) {
    return std::make_shared<CustomSegmentedControl>(segmentCount, segmentSize, std::move(dividerImage), tag,
                                                    delegate);
}

CustomSegmentedControl::~CustomSegmentedControl() = default;

std::optional<std::size_t> CustomSegmentedControl::indexOfButton(const Control& button) const {
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        if (buttons_[i].get() == &button) {
            return i;
        }
    }
    return std::nullopt;
}

void CustomSegmentedControl::dimAllButtonsExcept(Control& button) {
    for (const auto& each : buttons_) {
        if (each.get() != &button) {
            each->setSelected(false);
            each->setHighlighted(false);
        }
    }
    button.setSelected(true);
    button.setHighlighted(false);
}

void CustomSegmentedControl::touchDownAction(Control& button) {
    dimAllButtonsExcept(button);
    auto index = indexOfButton(button);
    if (delegate_ != nullptr && index) {
        delegate_->touchDownAtSegmentIndex(*index);
    }
}

void CustomSegmentedControl::touchUpInsideAction(Control& button) {
    dimAllButtonsExcept(button);
    auto index = indexOfButton(button);
    if (delegate_ != nullptr && index) {
        delegate_->touchUpInsideSegmentIndex(*index);
    }
}

void CustomSegmentedControl::otherTouchesAction(Control& button) {
    dimAllButtonsExcept(button);
}

void CustomSegmentedControl::describe(std::string& out) const {
    out += " segments=" + std::to_string(buttons_.size());
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        if (buttons_[i]->isSelected()) {
            out += " selected=" + std::to_string(i);
        }
    }
    if (tag() != 0) {
        out += " tag=" + std::to_string(tag());
    }
}

}  // namespace zorlet
