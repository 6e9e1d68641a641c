#pragma once

#include "ui/ImageAsset.h"
#include "ui/View.h"

#include <functional>
#include <memory>
#include <string>

namespace zorlet {

// An item of a navigation bar or toolbar: a title or picture with an action,
// a custom view, or a space.
class BarButtonItem {
public:
    enum class Style { Plain, Bordered, Done };
    enum class SystemItem { None, FlexibleSpace, FixedSpace };
    using Action = std::function<void(BarButtonItem&)>;

    BarButtonItem(std::string title, Style style, Action action);
    BarButtonItem(ImageAssetPtr image, Style style, Action action);
    explicit BarButtonItem(ViewPtr customView);
    explicit BarButtonItem(SystemItem item, double width = 0);

    const std::string& title() const { return title_; }
    void setTitle(std::string title) { title_ = std::move(title); }
    const ImageAssetPtr& image() const { return image_; }
    Style style() const { return style_; }
    const ViewPtr& customView() const { return customView_; }
    SystemItem systemItem() const { return systemItem_; }
    double width() const { return width_; }
    void setWidth(double width) { width_ = width; }
    bool isEnabled() const { return enabled_; }
    void setEnabled(bool enabled) { enabled_ = enabled; }
    int tag() const { return tag_; }
    void setTag(int tag) { tag_ = tag; }
    // The automation id of the view that shows the item; by convention the name of its action.
    const std::string& id() const { return id_; }
    void setId(std::string id) { id_ = std::move(id); }

    // The item's tap: runs the action (items with a custom view act through their view).
    void trigger();

private:
    std::string title_;
    ImageAssetPtr image_;
    Style style_ = Style::Plain;
    ViewPtr customView_;
    SystemItem systemItem_ = SystemItem::None;
    double width_ = 0;
    bool enabled_ = true;
    int tag_ = 0;
    std::string id_;
    Action action_;
};

using BarButtonItemPtr = std::shared_ptr<BarButtonItem>;

}  // namespace zorlet
