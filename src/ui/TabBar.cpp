#include "ui/TabBar.h"

#include "ui/Painter.h"
#include "ui/ViewTreeDump.h"

#include <algorithm>

namespace zorlet {

TabBar::TabBar() : View(Rect(0, 0, 320, kHeight)) {
    setBackgroundColor(Color::white(0.98));
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
    painter.drawLine({0, 0.25}, {frame().width(), 0.25}, Color::white(0, 0.2), 0.5);
    constexpr double kIconTop = 4;
    constexpr double kIconSide = 30;
    constexpr double kTitleHeight = 14;
    for (int i = 0; i < static_cast<int>(items_.size()); ++i) {
        const TabBarItem& item = *items_[static_cast<std::size_t>(i)];
        Rect rect = itemRect(i);
        bool chosen = i == selected_;
        const ImageAssetPtr& image = chosen && item.selectedImage() ? item.selectedImage() : item.image();
        if (image) {
            // Pictures fit the icon box, whatever size their artwork has.
            Size size = image->size();
            double fit = std::min(
                {1.0, kIconSide / std::max(size.width, 1.0), kIconSide / std::max(size.height, 1.0)});
            Size shown{size.width * fit, size.height * fit};
            painter.drawImage(*image,
                              Rect(rect.midX() - shown.width / 2, kIconTop + (kIconSide - shown.height) / 2,
                                   shown.width, shown.height));
        }
        painter.drawText(Rect(rect.x(), rect.height() - kTitleHeight - 1, rect.width(), kTitleHeight),
                         item.title(), Font::systemFont(10), chosen ? selectedTint_ : Color::white(0.56),
                         TextAlignment::Center);
        if (!item.badgeValue().empty()) {
            Font badgeFont = Font::boldSystemFont(12);
            double width =
                std::max(18.0, TextLayout::shared().measure(item.badgeValue(), badgeFont, 0).width + 10);
            Rect badge(rect.midX() + 8, 2, width, 18);
            painter.fillRoundedRect(badge, 9, Color::rgb(255, 59, 48));
            painter.strokeRoundedRect(badge, 9, Color::whiteColor(), 1.5);
            painter.drawText(badge, item.badgeValue(), badgeFont, Color::whiteColor(), TextAlignment::Center);
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
