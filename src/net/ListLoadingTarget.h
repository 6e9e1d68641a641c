#pragma once

namespace zorlet {

// A list screen that wants to hear when a page load ended, however it ended.
class ListLoadingTarget {
public:
    virtual ~ListLoadingTarget() = default;
    virtual void doneLoadingTableViewData() = 0;
};

}  // namespace zorlet
