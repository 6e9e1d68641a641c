#pragma once

namespace zorlet {

// A tab's top screen that reloads its first page when the user taps its tab
// again (the nearby feed, the idea list).
class AutoRefreshable {
public:
    virtual ~AutoRefreshable() = default;
    virtual void autoRefresh() = 0;
};

}  // namespace zorlet
