#include "ui/PullRefreshHeaderView.h"

#include "platform/Calendar.h"
#include "platform/MainLoop.h"
#include "ui/Painter.h"

#include <algorithm>

namespace zorlet {

PullRefreshHeaderView::PullRefreshHeaderView(double width, double height)
    : View(Rect(0, -height, width, height)) {
    setBackgroundColor(Color::rgb(226, 231, 237));
    statusLabel_ = std::make_shared<Label>(Rect(0, height - 48, width, 20));
    statusLabel_->setFont(Font::boldSystemFont(13));
    statusLabel_->setTextColor(Color::rgb(87, 108, 137));
    statusLabel_->setTextAlignment(TextAlignment::Center);
    addSubview(statusLabel_);
    lastUpdatedLabel_ = std::make_shared<Label>(Rect(0, height - 30, width, 20));
    lastUpdatedLabel_->setFont(Font::systemFont(12));
    lastUpdatedLabel_->setTextColor(Color::rgb(87, 108, 137));
    lastUpdatedLabel_->setTextAlignment(TextAlignment::Center);
    addSubview(lastUpdatedLabel_);
    setState(State::Normal);
}

bool PullRefreshHeaderView::isLoading() {
    return delegate_ != nullptr && delegate_->pullRefreshHeaderDataSourceIsLoading(*this);
}

void PullRefreshHeaderView::refreshLastUpdatedDate() {
    std::optional<SystemTime> date;
    if (delegate_ != nullptr) {
        date = delegate_->pullRefreshHeaderDataSourceLastUpdated(*this);
    }
    if (!date) {
        lastUpdatedLabel_->setText({});
        return;
    }
    std::string zone = MainLoop::main().clock().timeZone();
    lastUpdatedLabel_->setText("最后更新: " + Calendar::format(*date, "yyyy-MM-dd HH:mm", zone));
}

void PullRefreshHeaderView::setState(State state) {
    switch (state) {
        case State::Normal:
            statusLabel_->setText("下拉可以刷新...");
            refreshLastUpdatedDate();
            break;
        case State::Pulling:
            statusLabel_->setText("松开即可刷新...");
            break;
        case State::Loading:
            statusLabel_->setText("加载中...");
            break;
    }
    state_ = state;
}

void PullRefreshHeaderView::scrollViewDidScroll(ScrollView& scrollView) {
    double y = scrollView.contentOffset().y;
    if (state_ == State::Loading) {
        // Keep the header open while the content is scrolled over it.
        double top = std::clamp(-y, 0.0, kOpenInset);
        EdgeInsets insets = scrollView.contentInset();
        insets.top = top;
        scrollView.setContentInset(insets);
        return;
    }
    if (!scrollView.isDragging()) {
        return;
    }
    bool loading = isLoading();
    if (state_ == State::Pulling && y > -kTriggerDistance && y < 0 && !loading) {
        setState(State::Normal);
    } else if (state_ == State::Normal && y <= -kTriggerDistance && !loading) {
        setState(State::Pulling);
    }
    if (scrollView.contentInset().top != 0) {
        EdgeInsets insets = scrollView.contentInset();
        insets.top = 0;
        scrollView.setContentInset(insets);
    }
}

void PullRefreshHeaderView::scrollViewDidEndDragging(ScrollView& scrollView) {
    if (scrollView.contentOffset().y > -kTriggerDistance || isLoading()) {
        return;
    }
    setState(State::Loading);
    EdgeInsets insets = scrollView.contentInset();
    insets.top = kOpenInset;
    scrollView.setContentInset(insets);
    if (delegate_ != nullptr) {
        delegate_->pullRefreshHeaderDidTriggerRefresh(*this);
    }
}

void PullRefreshHeaderView::scrollViewDataSourceDidFinishLoading(ScrollView& scrollView) {
    EdgeInsets insets = scrollView.contentInset();
    insets.top = 0;
    scrollView.setContentInset(insets);
    setState(State::Normal);
    if (scrollView.contentOffset().y < 0 && !scrollView.isDragging()) {
        scrollView.setContentOffset({scrollView.contentOffset().x, 0}, true);
    }
}

void PullRefreshHeaderView::startRefreshing(ScrollView& scrollView) {
    if (isLoading() || state_ == State::Loading) {
        return;
    }
    // Scroll the header into view, then let go as a finger would.
    scrollView.setContentOffset({scrollView.contentOffset().x, -kTriggerDistance}, false);
    setState(State::Pulling);
    scrollViewDidEndDragging(scrollView);
    scrollView.setContentOffset({scrollView.contentOffset().x, -kOpenInset}, true);
}

void PullRefreshHeaderView::draw(Painter& painter) const {
    double bottom = frame().height();
    Point arrow{30, bottom - 36};
    if (state_ == State::Loading) {
        painter.fillCircle(arrow, 8, Color::rgb(87, 108, 137, 0.5));
        return;
    }
    bool up = state_ == State::Pulling;
    painter.drawLine({arrow.x, arrow.y - 14}, {arrow.x, arrow.y + 14}, Color::rgb(87, 108, 137), 3);
    double tip = up ? arrow.y - 14 : arrow.y + 14;
    double back = up ? tip + 8 : tip - 8;
    painter.drawLine({arrow.x - 7, back}, {arrow.x, tip}, Color::rgb(87, 108, 137), 3);
    painter.drawLine({arrow.x + 7, back}, {arrow.x, tip}, Color::rgb(87, 108, 137), 3);
}

void PullRefreshHeaderView::describe(std::string& out) const {
    static const char* kStates[] = {"normal", "pulling", "loading"};
    out += std::string(" state=") + kStates[static_cast<int>(state_)];
}

}  // namespace zorlet
