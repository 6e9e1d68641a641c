#pragma once

#include "ui/BarButtonItem.h"
#include "ui/Button.h"
#include "ui/Label.h"
#include "ui/NavigationItem.h"
#include "ui/View.h"

#include <functional>
#include <string>

namespace zorlet {

// The bar at the top of a navigation controller: the top screen's title (or
// title view) between its left item, or a back button, and its right item.
class NavigationBar : public View {
public:
    static constexpr double kHeight = 44;

    NavigationBar();
    const char* typeName() const override { return "NavigationBar"; }

    // Rebuilds the bar for `item`; an empty `backTitle` means no back button.
    void show(NavigationItem& item, const std::string& backTitle, std::function<void()> onBack);

    Button* backButton() const { return backButton_.get(); }
    Button* leftButton() const { return leftButton_.get(); }
    Button* rightButton() const { return rightButton_.get(); }
    Label* titleLabel() const { return titleLabel_.get(); }

    void draw(Painter& painter) const override;

private:
    std::shared_ptr<Button> makeItemButton(const BarButtonItemPtr& item);
    ViewPtr place(const BarButtonItemPtr& item, bool left);

    std::shared_ptr<Button> backButton_;
    std::shared_ptr<Button> leftButton_;
    std::shared_ptr<Button> rightButton_;
    std::shared_ptr<Label> titleLabel_;
};

}  // namespace zorlet
