#include "ui/TabBarController.h"

#include "ui/NavigationController.h"

#include <algorithm>

namespace zorlet {

TabBarController::TabBarController() {
    tabBar_ = std::make_shared<TabBar>();
    tabBar_->setOnSelect([this](int index) { userSelectTab(index); });
}

TabBarController::~TabBarController() {
    tabBar_->setOnSelect(nullptr);
    for (auto& controller : controllers_) {
        controller->setParent(nullptr);
    }
}

ViewController* TabBarController::selectedViewController() const {
    if (selected_ < 0 || selected_ >= static_cast<int>(controllers_.size())) {
        return nullptr;
    }
    return controllers_[static_cast<std::size_t>(selected_)].get();
}

void TabBarController::syncTabBar() {
    std::vector<TabBarItem*> items;
    for (auto& controller : controllers_) {
        items.push_back(&controller->tabBarItem());
    }
    tabBar_->setItems(std::move(items));
    tabBar_->setSelectedIndex(selected_);
}

void TabBarController::setViewControllers(std::vector<ViewControllerPtr> controllers, bool animated) {
    ViewController* from = selectedViewController();
    bool onScreen = isAppeared();
    if (onScreen && from != nullptr) {
        from->beginAppearanceTransition(false, animated);
    }
    if (from != nullptr && from->isViewLoaded()) {
        from->view().removeFromSuperview();
    }
    if (onScreen && from != nullptr) {
        from->endAppearanceTransition();
    }
    for (auto& old : controllers_) {
        old->setParent(nullptr);
        releaseLater(old);
    }
    controllers_.clear();
    for (auto& c : controllers) {
        if (c && c->parent_ == nullptr && c->presenting_ == nullptr) {
            c->setParent(this);
            controllers_.push_back(std::move(c));
        }
    }
    selected_ =
        controllers_.empty() ? 0 : std::clamp(selected_, 0, static_cast<int>(controllers_.size()) - 1);
    syncTabBar();
    ViewController* to = selectedViewController();
    if (onScreen && to != nullptr) {
        to->beginAppearanceTransition(true, animated);
    }
    if (isViewLoaded() && to != nullptr) {
        view().insertSubviewBelow(to->viewPtr(), tabBar_.get());
    }
    layoutContent();
    if (onScreen && to != nullptr) {
        to->endAppearanceTransition();
    }
}

void TabBarController::setSelectedIndex(int index) {
    if (index < 0 || index >= static_cast<int>(controllers_.size()) || index == selected_) {
        return;
    }
    ViewController* from = selectedViewController();
    ViewController* to = controllers_[static_cast<std::size_t>(index)].get();
    to->viewPtr();  // the incoming screen loads before anything disappears
    bool onScreen = isAppeared();
    if (onScreen) {
        from->beginAppearanceTransition(false, false);
        to->beginAppearanceTransition(true, false);
    }
    selected_ = index;
    tabBar_->setSelectedIndex(index);
    if (isViewLoaded()) {
        if (from->isViewLoaded()) {
            from->view().removeFromSuperview();
        }
        view().insertSubviewBelow(to->viewPtr(), tabBar_.get());
        layoutContent();
    }
    if (onScreen) {
        from->endAppearanceTransition();
        to->endAppearanceTransition();
    }
}

void TabBarController::userSelectTab(int index) {
    if (index < 0 || index >= static_cast<int>(controllers_.size())) {
        return;
    }
    ViewControllerPtr target = controllers_[static_cast<std::size_t>(index)];
    if (!target->tabBarItem().isEnabled()) {
        return;
    }
    if (delegate_ != nullptr && !delegate_->shouldSelectViewController(*this, *target)) {
        return;
    }
    setSelectedIndex(index);
    if (delegate_ != nullptr) {
        delegate_->didSelectViewController(*this, *target);
    }
}

void TabBarController::loadView() {
    auto container = std::make_shared<View>(Rect(0, 0, kScreenWidth, kScreenHeight - kStatusBarHeight));
    container->setBackgroundColor(Color::whiteColor());
    setView(container);
    container->addSubview(tabBar_);
    if (ViewController* shown = selectedViewController()) {
        container->insertSubviewBelow(shown->viewPtr(), tabBar_.get());
    }
    syncTabBar();
    layoutContent();
}

bool TabBarController::bottomBarHidden() const {
    ViewController* shown = selectedViewController();
    auto* navigation = dynamic_cast<NavigationController*>(shown);
    if (navigation == nullptr) {
        return false;
    }
    // Any pushed screen that asks hides the bar, as the phone framework does.
    const auto& stack = navigation->viewControllers();
    return stack.size() > 1 && std::any_of(stack.begin() + 1, stack.end(), [](const ViewControllerPtr& c) {
               return c->hidesBottomBarWhenPushed();
           });
}

void TabBarController::layoutContent() {
    if (!isViewLoaded()) {
        return;
    }
    View& container = view();
    bool hidden = bottomBarHidden();
    tabBar_->setHidden(hidden);
    tabBar_->setFrame(
        Rect(0, container.frame().height() - TabBar::kHeight, container.frame().width(), TabBar::kHeight));
    double contentHeight = container.frame().height() - (hidden ? 0 : TabBar::kHeight);
    if (ViewController* shown = selectedViewController()) {
        shown->view().setFrame(Rect(0, 0, container.frame().width(), std::max(0.0, contentHeight)));
        if (auto* navigation = dynamic_cast<NavigationController*>(shown)) {
            navigation->layoutContent();
        }
    }
    syncTabBar();
}

std::vector<ViewController*> TabBarController::childViewControllers() const {
    std::vector<ViewController*> children;
    for (const auto& c : controllers_) {
        children.push_back(c.get());
    }
    return children;
}

std::vector<ViewController*> TabBarController::visibleChildViewControllers() const {
    if (ViewController* shown = selectedViewController()) {
        return {shown};
    }
    return {};
}

}  // namespace zorlet
