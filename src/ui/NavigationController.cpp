#include "ui/NavigationController.h"

#include "ui/TabBarController.h"

#include <algorithm>

namespace zorlet {

NavigationController::NavigationController(ViewControllerPtr root) {
    bar_ = std::make_shared<NavigationBar>();
    if (root && root->parent_ == nullptr) {
        root->setParent(this);
        stack_.push_back(std::move(root));
    }
}

NavigationController::~NavigationController() {
    for (auto& controller : stack_) {
        controller->setParent(nullptr);
    }
}

ViewController* NavigationController::visibleViewController() const {
    ViewController* top = topViewController();
    if (top == nullptr) {
        return nullptr;
    }
    ViewController* shown = top;
    while (shown->modal_) {
        shown = shown->modal_.get();
    }
    if (shown == top && modal_) {
        shown = modal_.get();
        while (shown->modal_) {
            shown = shown->modal_.get();
        }
    }
    return shown;
}

NavigationBar& NavigationController::navigationBar() {
    return *bar_;
}

void NavigationController::loadView() {
    auto container = std::make_shared<View>(Rect(0, 0, kScreenWidth, kScreenHeight - kStatusBarHeight));
    container->setBackgroundColor(Color::whiteColor());
    container->setClipsToBounds(true);
    setView(container);
    bar_->setFrame(Rect(0, 0, container->frame().width(), NavigationBar::kHeight));
    container->addSubview(bar_);
    if (ViewController* top = topViewController()) {
        container->insertSubviewBelow(top->viewPtr(), bar_.get());
    }
    layoutContent();
}

void NavigationController::layoutContent() {
    if (!isViewLoaded()) {
        return;
    }
    View& container = view();
    bar_->setHidden(barHidden_);
    bar_->setFrame(Rect(0, 0, container.frame().width(), NavigationBar::kHeight));
    double top = barHidden_ ? 0 : NavigationBar::kHeight;
    if (ViewController* shown = topViewController()) {
        shown->view().setFrame(
            Rect(0, top, container.frame().width(), std::max(0.0, container.frame().height() - top)));
    }
    refreshNavigationBar();
}

void NavigationController::refreshNavigationBar() {
    ViewController* top = topViewController();
    if (top == nullptr) {
        return;
    }
    std::string backTitle;
    if (stack_.size() > 1) {
        ViewController& previous = *stack_[stack_.size() - 2];
        const auto& backItem = previous.navigationItem().backBarButtonItem();
        backTitle = backItem ? backItem->title() : previous.navigationItem().title();
        if (backTitle.empty()) {
            backTitle = "返回";
        }
    }
    bar_->show(top->navigationItem(), backTitle, [this] { popViewController(true); });
}

void NavigationController::setNavigationBarHidden(bool hidden, bool animated) {
    barHidden_ = hidden;
    layoutContent();
}

std::vector<ViewController*> NavigationController::childViewControllers() const {
    std::vector<ViewController*> children;
    for (const auto& controller : stack_) {
        children.push_back(controller.get());
    }
    return children;
}

std::vector<ViewController*> NavigationController::visibleChildViewControllers() const {
    if (ViewController* top = topViewController()) {
        return {top};
    }
    return {};
}

void NavigationController::transition(ViewController* from, ViewController* to, bool animated,
                                      const std::vector<ViewControllerPtr>& removed) {
    bool onScreen = isAppeared();
    if (to != nullptr) {
        to->viewPtr();  // loads the incoming screen first, as the phone framework does
        if (delegate_ != nullptr) {
            delegate_->willShowViewController(*this, *to, animated);
        }
    }
    bool changing = from != to;
    if (onScreen && changing) {
        if (from != nullptr) {
            from->beginAppearanceTransition(false, animated);
        }
        if (to != nullptr) {
            to->beginAppearanceTransition(true, animated);
        }
    }
    if (isViewLoaded() && changing) {
        if (from != nullptr && from->isViewLoaded()) {
            from->view().removeFromSuperview();
        }
        if (to != nullptr) {
            view().insertSubviewBelow(to->viewPtr(), bar_.get());
        }
    }
    layoutContent();
    if (TabBarController* tabs = tabBarController()) {
        tabs->layoutContent();
    }
    if (onScreen && changing) {
        if (from != nullptr) {
            from->endAppearanceTransition();
        }
        if (to != nullptr) {
            to->endAppearanceTransition();
        }
    }
    for (const auto& controller : removed) {
        releaseLater(controller);
    }
}

void NavigationController::pushViewController(ViewControllerPtr controller, bool animated) {
    if (!controller || controller->parent_ != nullptr || controller->presenting_ != nullptr ||
        std::find(stack_.begin(), stack_.end(), controller) != stack_.end()) {
        return;  // a screen can be in one place only
    }
    ViewController* from = topViewController();
    controller->setParent(this);
    stack_.push_back(controller);
    transition(from, controller.get(), animated, {});
}

ViewControllerPtr NavigationController::popViewController(bool animated) {
    if (stack_.size() <= 1) {
        return nullptr;
    }
    ViewControllerPtr popped = stack_.back();
    stack_.pop_back();
    transition(popped.get(), topViewController(), animated, {popped});
    popped->setParent(nullptr);
    return popped;
}

std::vector<ViewControllerPtr> NavigationController::popToViewController(const ViewController* controller,
                                                                         bool animated) {
    auto it = std::find_if(stack_.begin(), stack_.end(),
                           [&](const ViewControllerPtr& c) { return c.get() == controller; });
    if (it == stack_.end() || it + 1 == stack_.end()) {
        return {};
    }
    std::vector<ViewControllerPtr> removed(it + 1, stack_.end());
    ViewControllerPtr from = stack_.back();
    stack_.erase(it + 1, stack_.end());
    transition(from.get(), topViewController(), animated, removed);
    for (auto& c : removed) {
        c->setParent(nullptr);
    }
    return removed;
}

std::vector<ViewControllerPtr> NavigationController::popToRootViewController(bool animated) {
    if (stack_.empty()) {
        return {};
    }
    return popToViewController(stack_.front().get(), animated);
}

void NavigationController::setViewControllers(std::vector<ViewControllerPtr> controllers, bool animated) {
    ViewControllerPtr from = stack_.empty() ? nullptr : stack_.back();
    std::vector<ViewControllerPtr> removed;
    for (auto& c : stack_) {
        if (std::find(controllers.begin(), controllers.end(), c) == controllers.end()) {
            removed.push_back(c);
        }
    }
    stack_.clear();
    for (auto& c : controllers) {
        if (c && (c->parent_ == nullptr || c->parent_ == this)) {
            c->setParent(this);
            stack_.push_back(c);
        }
    }
    transition(from.get(), topViewController(), animated, removed);
    for (auto& c : removed) {
        c->setParent(nullptr);
    }
}

}  // namespace zorlet
