#include "ui/BarButtonItem.h"

namespace zorlet {

BarButtonItem::BarButtonItem(std::string title, Style style, Action action)
    : title_(std::move(title)), style_(style), action_(std::move(action)) {}

BarButtonItem::BarButtonItem(ImageAssetPtr image, Style style, Action action)
    : image_(std::move(image)), style_(style), action_(std::move(action)) {}

BarButtonItem::BarButtonItem(ViewPtr customView) : customView_(std::move(customView)) {}

BarButtonItem::BarButtonItem(SystemItem item, double width) : systemItem_(item), width_(width) {}

void BarButtonItem::trigger() {
    if (enabled_ && action_) {
        Action action = action_;  // a copy: the action may release this item
        action(*this);
    }
}

}  // namespace zorlet
