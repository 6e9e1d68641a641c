#pragma once

#include "ui/BarButtonItem.h"
#include "ui/Button.h"
#include "ui/View.h"

#include <vector>

namespace zorlet {

// A bar of items laid out left to right; flexible spaces share what is left.
class Toolbar : public View {
public:
    enum class BarStyle { Default, Black, BlackTranslucent };

    explicit Toolbar(Rect frame = Rect(0, 0, 320, 44));
    const char* typeName() const override { return "Toolbar"; }

    BarStyle barStyle() const { return barStyle_; }
    void setBarStyle(BarStyle style) { barStyle_ = style; }
    const std::vector<BarButtonItemPtr>& items() const { return items_; }
    void setItems(std::vector<BarButtonItemPtr> items, bool animated = false);
    // The view standing for item `index` (a button, a custom view, or null for a space).
    View* viewForItem(std::size_t index) const;

    void layoutSubviews() override;
    void draw(Painter& painter) const override;

private:
    BarStyle barStyle_ = BarStyle::Default;
    std::vector<BarButtonItemPtr> items_;
    std::vector<ViewPtr> itemViews_;
};

}  // namespace zorlet
