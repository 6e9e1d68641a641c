#pragma once

#include "ui/TabBarItem.h"
#include "ui/View.h"

#include <functional>
#include <vector>

namespace zorlet {

// The row of tab items at the bottom of a tab bar controller, with badges.
class TabBar : public View {
public:
    static constexpr double kHeight = 49;

    TabBar();
    const char* typeName() const override { return "TabBar"; }

    void setItems(std::vector<TabBarItem*> items) { items_ = std::move(items); }
    const std::vector<TabBarItem*>& items() const { return items_; }
    int selectedIndex() const { return selected_; }
    void setSelectedIndex(int index) { selected_ = index; }
    // Called with the index of a tapped item.
    void setOnSelect(std::function<void(int)> onSelect) { onSelect_ = std::move(onSelect); }
    // The colour of the chosen item's title (its picture has its own colours).
    void setSelectedTintColor(const Color& color) { selectedTint_ = color; }

    int indexAt(Point point) const;
    Rect itemRect(int index) const;

    bool handleTap(Point point) override;
    void draw(Painter& painter) const override;
    void describe(std::string& out) const override;

private:
    std::vector<TabBarItem*> items_;
    int selected_ = 0;
    std::function<void(int)> onSelect_;
    Color selectedTint_ = Color::rgb(0, 122, 255);
};

}  // namespace zorlet
