#include "ui/ViewController.h"

#include "platform/MainLoop.h"
#include "ui/NavigationController.h"
#include "ui/TabBarController.h"
#include "ui/Window.h"

namespace zorlet {

ViewController::ViewController() = default;

ViewController::~ViewController() {
    if (modal_) {
        modal_->presenting_ = nullptr;
    }
}

View& ViewController::view() {
    return *viewPtr();
}

const ViewPtr& ViewController::viewPtr() {
    if (!view_) {
        loadView();
        if (!view_) {
            view_ = std::make_shared<View>(Rect(0, 0, kScreenWidth, kScreenHeight - kStatusBarHeight));
        }
        viewDidLoad();
    }
    return view_;
}

void ViewController::loadView() {
    view_ = std::make_shared<View>(Rect(0, 0, kScreenWidth, kScreenHeight - kStatusBarHeight));
    view_->setAutoresizingMask(View::FlexibleSize);
    view_->setBackgroundColor(Color::whiteColor());
}

void ViewController::setTitle(std::string title) {
    title_ = title;
    navigationItem_.setTitle(title);
    tabBarItem_.setTitle(std::move(title));
}

NavigationController* ViewController::navigationController() const {
    for (ViewController* p = parent_; p != nullptr; p = p->parent_) {
        if (auto* navigation = dynamic_cast<NavigationController*>(p)) {
            return navigation;
        }
    }
    return nullptr;
}

TabBarController* ViewController::tabBarController() const {
    for (ViewController* p = parent_; p != nullptr; p = p->parent_) {
        if (auto* tabs = dynamic_cast<TabBarController*>(p)) {
            return tabs;
        }
    }
    return nullptr;
}

ViewController* ViewController::outermost() {
    ViewController* root = this;
    while (root->parent_ != nullptr) {
        root = root->parent_;
    }
    return root;
}

ViewController* ViewController::modalViewController() const {
    if (modal_) {
        return modal_.get();
    }
    // Children see what their container presented, as the phone framework reports it.
    for (ViewController* p = parent_; p != nullptr; p = p->parent_) {
        if (p->modal_) {
            return p->modal_.get();
        }
    }
    return nullptr;
}

void ViewController::beginAppearanceTransition(bool appearing, bool animated) {
    if (appearing ? isAppeared() : !isAppeared()) {
        return;
    }
    appearance_ = appearing ? Appearance::Appearing : Appearance::Disappearing;
    transitionAnimated_ = animated;
    if (appearing) {
        viewPtr();
        viewWillAppear(animated);
    } else {
        viewWillDisappear(animated);
    }
    for (ViewController* child : visibleChildViewControllers()) {
        child->beginAppearanceTransition(appearing, animated);
    }
}

void ViewController::endAppearanceTransition() {
    if (appearance_ != Appearance::Appearing && appearance_ != Appearance::Disappearing) {
        return;
    }
    bool appearing = appearance_ == Appearance::Appearing;
    appearance_ = appearing ? Appearance::Appeared : Appearance::Disappeared;
    if (appearing) {
        viewDidAppear(transitionAnimated_);
    } else {
        viewDidDisappear(transitionAnimated_);
    }
    for (ViewController* child : visibleChildViewControllers()) {
        child->endAppearanceTransition();
    }
}

void ViewController::deliverMemoryWarning() {
    didReceiveMemoryWarning();
    for (ViewController* child : childViewControllers()) {
        child->deliverMemoryWarning();
    }
    if (modal_) {
        modal_->deliverMemoryWarning();
    }
}

void ViewController::releaseLater(ViewControllerPtr controller) {
    if (controller) {
        MainLoop::main().post([held = std::move(controller)] {});
    }
}

void ViewController::presentModalViewController(ViewControllerPtr controller, bool animated) {
    if (!controller || controller.get() == this || controller->presenting_ != nullptr ||
        controller->parent_ != nullptr) {
        return;
    }
    // The outermost container presents; one already presenting passes it on to what it shows.
    ViewController* presenter = outermost();
    while (presenter->modal_) {
        presenter = presenter->modal_.get();
    }
    presenter->modal_ = controller;
    presenter->lastModalAnimated_ = animated;
    lastModalAnimated_ = animated;
    controller->presenting_ = presenter;
    controller->lastModalAnimated_ = animated;

    View& covered = presenter->view();
    bool onScreen = presenter->isAppeared();
    View& shown = controller->view();
    shown.setFrame(covered.frame());
    if (onScreen) {
        presenter->beginAppearanceTransition(false, animated);
        controller->beginAppearanceTransition(true, animated);
    }
    if (Window* window = covered.window()) {
        window->addSubview(controller->viewPtr());
    } else if (View* host = covered.superview()) {
        host->addSubview(controller->viewPtr());
    }
    if (onScreen) {
        presenter->endAppearanceTransition();
        controller->endAppearanceTransition();
    }
}

void ViewController::dismissModalViewController(bool animated) {
    ViewController* presenter = nullptr;
    if (ViewController* shown = modalViewController()) {
        presenter = shown->presenting_;
    } else if (presenting_ != nullptr) {
        presenter = presenting_;
    } else if (ViewController* root = outermost(); root->presenting_ != nullptr) {
        presenter = root->presenting_;
    }
    if (presenter == nullptr || !presenter->modal_) {
        return;
    }
    ViewControllerPtr dismissed = presenter->modal_;
    // What the dismissed controller presented goes with it.
    std::vector<ViewControllerPtr> chain{dismissed};
    while (chain.back()->modal_) {
        chain.push_back(chain.back()->modal_);
    }
    ViewController* top = chain.back().get();
    bool onScreen = top->isAppeared();
    presenter->lastModalAnimated_ = animated;
    lastModalAnimated_ = animated;
    dismissed->lastModalAnimated_ = animated;
    if (onScreen) {
        top->beginAppearanceTransition(false, animated);
        presenter->beginAppearanceTransition(true, animated);
    }
    for (auto& controller : chain) {
        if (controller->isViewLoaded()) {
            controller->view().removeFromSuperview();
        }
    }
    if (onScreen) {
        top->endAppearanceTransition();
        presenter->endAppearanceTransition();
    }
    for (auto& controller : chain) {
        controller->presenting_ = nullptr;
        controller->modal_.reset();
    }
    presenter->modal_.reset();
    for (auto& controller : chain) {
        releaseLater(std::move(controller));
    }
}

}  // namespace zorlet
