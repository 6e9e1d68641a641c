#pragma once

#include "platform/Clock.h"
#include "ui/Label.h"
#include "ui/ScrollView.h"
#include "ui/View.h"

#include <memory>
#include <optional>

namespace zorlet {

class PullRefreshHeaderView;

class PullRefreshHeaderDelegate {
public:
    virtual ~PullRefreshHeaderDelegate() = default;
    virtual void pullRefreshHeaderDidTriggerRefresh(PullRefreshHeaderView&) = 0;
    virtual bool pullRefreshHeaderDataSourceIsLoading(PullRefreshHeaderView&) = 0;
    virtual std::optional<SystemTime> pullRefreshHeaderDataSourceLastUpdated(PullRefreshHeaderView&) {
        return std::nullopt;
    }
};

// The pull-to-refresh header that sits above a table's content. The list
// screen passes its scroll events on; pulling 65 points or more and letting
// go while nothing loads starts a refresh, and the header stays open (the
// table's top inset) until the screen reports the load finished.
class PullRefreshHeaderView : public View {
public:
    enum class State { Normal, Pulling, Loading };
    static constexpr double kTriggerDistance = 65;
    static constexpr double kOpenInset = 60;

    // Covers the area above the content of a `width`-wide scroll view.
    explicit PullRefreshHeaderView(double width, double height = 460);
    const char* typeName() const override { return "PullRefreshHeaderView"; }

    State state() const { return state_; }
    PullRefreshHeaderDelegate* delegate() const { return delegate_; }
    void setDelegate(PullRefreshHeaderDelegate* delegate) { delegate_ = delegate; }

    // Asks the delegate when the data was last loaded and shows it.
    void refreshLastUpdatedDate();
    const std::string& statusText() const { return statusLabel_->text(); }
    const std::string& lastUpdatedText() const { return lastUpdatedLabel_->text(); }

    void scrollViewDidScroll(ScrollView& scrollView);
    void scrollViewDidEndDragging(ScrollView& scrollView);
    // The load is over: the header closes and goes back to normal.
    void scrollViewDataSourceDidFinishLoading(ScrollView& scrollView);
    // Starts a refresh as if the user had pulled the list down, unless one is under way.
    void startRefreshing(ScrollView& scrollView);

    void draw(Painter& painter) const override;
    void describe(std::string& out) const override;

private:
    void setState(State state);
    bool isLoading();

    State state_ = State::Normal;
    PullRefreshHeaderDelegate* delegate_ = nullptr;
    std::shared_ptr<Label> statusLabel_;
    std::shared_ptr<Label> lastUpdatedLabel_;
};

}  // namespace zorlet
