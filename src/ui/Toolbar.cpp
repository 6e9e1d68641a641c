#include "ui/Toolbar.h"

#include "ui/Label.h"
#include "ui/Painter.h"

#include <algorithm>

namespace zorlet {

namespace {
constexpr double kMargin = 6;
}

Toolbar::Toolbar(Rect frame) : View(frame) {}

void Toolbar::setItems(std::vector<BarButtonItemPtr> items, bool animated) {
    for (auto& view : itemViews_) {
        if (view) {
            view->removeFromSuperview();
        }
    }
    itemViews_.clear();
    items_ = std::move(items);
    for (const auto& item : items_) {
        ViewPtr view;
        if (!item || item->systemItem() != BarButtonItem::SystemItem::None) {
            itemViews_.push_back(nullptr);
            continue;
        }
        if (item->customView()) {
            view = item->customView();
            if (view->id().empty()) {
                view->setId(item->id());
            }
        } else if (item->style() == BarButtonItem::Style::Plain && !item->image() && item->width() > 0) {
            // A plain titled item with a fixed width is a caption.
            auto label = std::make_shared<Label>(Rect(0, 0, item->width(), 30));
            label->setText(item->title());
            label->setTextColor(Color::whiteColor());
            label->setFont(Font::boldSystemFont(15));
            label->setTextAlignment(TextAlignment::Center);
            view = label;
        } else {
            auto button = std::make_shared<Button>();
            button->setId(item->id());
            button->setTitle(item->title());
            if (item->image()) {
                button->setImage(item->image());
            }
            button->setTitleFont(Font::boldSystemFont(12));
            button->setEnabled(item->isEnabled());
            std::weak_ptr<BarButtonItem> weak = item;
            button->addTarget(TouchUpInside, [weak](Control&) {
                if (auto held = weak.lock()) {
                    held->trigger();
                }
            });
            double width =
                item->width() > 0 ? item->width() : std::max(44.0, button->sizeThatFits({}).width + 20);
            button->setFrame(Rect(0, 0, width, 30));
            view = button;
        }
        addSubview(view);
        itemViews_.push_back(view);
    }
    layoutSubviews();
}

View* Toolbar::viewForItem(std::size_t index) const {
    return index < itemViews_.size() ? itemViews_[index].get() : nullptr;
}

void Toolbar::layoutSubviews() {
    double fixed = kMargin;
    int flexible = 0;
    for (std::size_t i = 0; i < items_.size(); ++i) {
        const auto& item = items_[i];
        if (!item) {
            continue;
        }
        if (item->systemItem() == BarButtonItem::SystemItem::FlexibleSpace) {
            ++flexible;
        } else if (item->systemItem() == BarButtonItem::SystemItem::FixedSpace) {
            fixed += item->width();
        } else if (itemViews_[i]) {
            fixed += itemViews_[i]->frame().width() + kMargin;
        }
    }
    // Captions give way when the items do not fit, so the buttons stay on the bar.
    double overflow = fixed - frame().width();
    if (overflow > 0) {
        for (const auto& view : itemViews_) {
            if (auto* caption = dynamic_cast<Label*>(view.get()); caption != nullptr && overflow > 0) {
                double cut = std::min(overflow, caption->frame().width());
                caption->setFrame(Rect(caption->frame().origin,
                                       {caption->frame().width() - cut, caption->frame().height()}));
                overflow -= cut;
                fixed -= cut;
            }
        }
    }
    double share = flexible > 0 ? std::max(0.0, frame().width() - fixed) / flexible : 0;
    double x = kMargin;
    for (std::size_t i = 0; i < items_.size(); ++i) {
        const auto& item = items_[i];
        if (!item) {
            continue;
        }
        if (item->systemItem() == BarButtonItem::SystemItem::FlexibleSpace) {
            x += share;
        } else if (item->systemItem() == BarButtonItem::SystemItem::FixedSpace) {
            x += item->width();
        } else if (const ViewPtr& view = itemViews_[i]) {
            Size size = view->frame().size;
            view->setFrame(Rect(x, (frame().height() - size.height) / 2, size.width, size.height));
            x += size.width + kMargin;
        }
    }
}

void Toolbar::draw(Painter& painter) const {
    Rect box(0, 0, frame().width(), frame().height());
    Color fill = barStyle_ == BarStyle::Default ? Color::rgb(110, 132, 162)
                                                : Color::white(0, barStyle_ == BarStyle::Black ? 1.0 : 0.7);
    painter.fillRect(box, fill);
    for (std::size_t i = 0; i < itemViews_.size(); ++i) {
        auto* button = dynamic_cast<Button*>(itemViews_[i].get());
        if (button != nullptr && !button->currentImage()) {
            bool done = items_[i]->style() == BarButtonItem::Style::Done;
            painter.fillRoundedRect(button->frame(), 5,
                                    done ? Color::rgb(40, 100, 220) : Color::white(0, 0.3));
        }
    }
}

}  // namespace zorlet
