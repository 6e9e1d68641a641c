#pragma once

#include "ui/BarButtonItem.h"
#include "ui/View.h"

#include <string>

namespace zorlet {

// What a screen shows in the navigation bar while it is on top.
class NavigationItem {
public:
    const std::string& title() const { return title_; }
    void setTitle(std::string title) { title_ = std::move(title); }
    const ViewPtr& titleView() const { return titleView_; }
    void setTitleView(ViewPtr view) { titleView_ = std::move(view); }
    const BarButtonItemPtr& leftBarButtonItem() const { return left_; }
    void setLeftBarButtonItem(BarButtonItemPtr item, bool animated = false) { left_ = std::move(item); }
    const BarButtonItemPtr& rightBarButtonItem() const { return right_; }
    void setRightBarButtonItem(BarButtonItemPtr item, bool animated = false) { right_ = std::move(item); }
    // The item the next screen's back button shows for this one.
    const BarButtonItemPtr& backBarButtonItem() const { return back_; }
    void setBackBarButtonItem(BarButtonItemPtr item) { back_ = std::move(item); }
    bool hidesBackButton() const { return hidesBackButton_; }
    void setHidesBackButton(bool hides, bool animated = false) { hidesBackButton_ = hides; }

private:
    std::string title_;
    ViewPtr titleView_;
    BarButtonItemPtr left_;
    BarButtonItemPtr right_;
    BarButtonItemPtr back_;
    bool hidesBackButton_ = false;
};

}  // namespace zorlet
