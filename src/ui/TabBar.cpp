#include "ui/TabBar.h"

#include "ui/Painter.h"
#include "ui/ViewTreeDump.h"

namespace zorlet {

TabBar::TabBar() : View(Rect(0, 0, 320, kHeight)) {
    setBackgroundColor(Color::white(0.1));
}

Rect TabBar::itemRect(int index) const {
    if (items_.empty()) {
        return {};
    }
    double width = frame().width() / static_cast<double>(items_.size());
    return Rect(width * index, 0, width, frame().height());
}

int TabBar::indexAt(Point point) const {
    for (int i = 0; i < static_cast<int>(items_.size()); ++i) {
        if (itemRect(i).contains(point)) {
            return i;
        }
    }
    return -1;
}

bool TabBar::handleTap(Point point) {
    int index = indexAt(point);
    if (index >= 0 && items_[static_cast<std::size_t>(index)]->isEnabled() && onSelect_) {
        auto onSelect = onSelect_;
        onSelect(index);
    }
    return true;
}

void TabBar::draw(Painter& painter) const {
    for (int i = 0; i < static_cast<int>(items_.size()); ++i) {
        const TabBarItem& item = *items_[static_cast<std::size_t>(i)];
        Rect rect = itemRect(i);
        bool chosen = i == selected_;
        if (chosen) {
            if (indicator_) {
                painter.drawImage(*indicator_, rect.insetBy({2, 2, 2, 2}));
            } else {
                painter.fillRoundedRect(rect.insetBy({2, 4, 2, 4}), 4, Color::white(1, 0.15));
            }
        }
        const ImageAssetPtr& image = chosen && item.selectedImage() ? item.selectedImage() : item.image();
        if (image) {
            Size size = image->size();
            painter.drawImage(*image, Rect(rect.midX() - size.width / 2, 4, size.width, size.height));
        }
        painter.drawText(Rect(rect.x(), rect.height() - 16, rect.width(), 14), item.title(),
                         Font::boldSystemFont(10), chosen ? Color::whiteColor() : Color::white(0.6),
                         TextAlignment::Center);
        if (!item.badgeValue().empty()) {
            double width = std::max(
                20.0,
                TextLayout::shared().measure(item.badgeValue(), Font::boldSystemFont(13), 0).width + 10);
            Rect badge(rect.midX() + 6, 1, width, 20);
            painter.fillRoundedRect(badge, 10, Color::rgb(220, 20, 20));
            painter.strokeRoundedRect(badge, 10, Color::whiteColor(), 1.5);
            painter.drawText(badge, item.badgeValue(), Font::boldSystemFont(13), Color::whiteColor(),
                             TextAlignment::Center);
        }
    }
}

void TabBar::describe(std::string& out) const {
    out += " selected=" + std::to_string(selected_) + " items=[";
    for (std::size_t i = 0; i < items_.size(); ++i) {
        out += (i > 0 ? "," : "") + ViewTreeDump::quoted(items_[i]->title());
        if (!items_[i]->badgeValue().empty()) {
            out += "(" + items_[i]->badgeValue() + ")";
        }
    }
    out += "]";
}

}  // namespace zorlet
