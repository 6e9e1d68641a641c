#include "ui/Window.h"

#include "ui/Application.h"

namespace zorlet {

Window::Window(Rect frame) : View(frame), statusBar_(std::make_shared<StatusBar>(frame.width())) {
    setBackgroundColor(Color::blackColor());
    statusBar_->setAlpha(Application::shared().isStatusBarHidden() ? 0 : 1);
    Application::shared().windowDidOpen(this);
}

Window::~Window() {
    Application::shared().windowWillClose(this);
}

Rect Window::contentFrame() const {
    double top = Application::shared().isStatusBarHidden() ? 0 : StatusBar::kHeight;
    return Rect(0, top, frame().width(), frame().height() - top);
}

void Window::statusBarDidChange(bool animated) {
    auto follow = [this] {
        statusBar_->setAlpha(Application::shared().isStatusBarHidden() ? 0 : 1);
        // Presented screens cover the root's frame, so they move with it.
        Rect content = contentFrame();
        for (ViewController* c = root_.get(); c != nullptr; c = c->modal_.get()) {
            if (c->isViewLoaded()) {
                c->view().setFrame(content);
            }
        }
    };
    if (animated && visible_) {
        View::animate(Application::kStatusBarAnimationDuration, AnimationCurve::EaseInOut, follow);
    } else {
        follow();
    }
}

ViewController* Window::topViewController() const {
    ViewController* top = root_.get();
    while (top != nullptr && top->modal_) {
        top = top->modal_.get();
    }
    return top;
}

void Window::setRootViewController(ViewControllerPtr controller) {
    if (controller == root_) {
        return;
    }
    ViewControllerPtr old = root_;
    ViewController* oldTop = topViewController();
    bool onScreen = visible_;
    if (controller) {
        controller->viewPtr();
    }
    if (onScreen && oldTop != nullptr) {
        oldTop->beginAppearanceTransition(false, false);
    }
    if (onScreen && controller) {
        controller->beginAppearanceTransition(true, false);
    }
    // The old screens leave the window with everything they presented.
    std::vector<ViewControllerPtr> leaving;
    for (ViewControllerPtr c = old; c; c = c->modal_) {
        leaving.push_back(c);
        if (c->isViewLoaded()) {
            c->view().removeFromSuperview();
        }
    }
    root_ = controller;
    if (root_) {
        root_->view().setFrame(contentFrame());
        insertSubview(root_->viewPtr(), 0);
    }
    if (onScreen && oldTop != nullptr) {
        oldTop->endAppearanceTransition();
    }
    if (onScreen && root_) {
        root_->endAppearanceTransition();
    }
    for (auto& c : leaving) {
        c->presenting_ = nullptr;
    }
    for (auto& c : leaving) {
        c->modal_.reset();
        ViewController::releaseLater(c);
    }
}

void Window::makeKeyAndVisible() {
    Application::shared().setKeyWindow(this);
    if (visible_) {
        return;
    }
    visible_ = true;
    if (root_) {
        root_->beginAppearanceTransition(true, false);
        root_->endAppearanceTransition();
    }
}

bool Window::isKeyWindow() const {
    return Application::shared().keyWindow() == this;
}

void Window::describe(std::string& out) const {
    if (isKeyWindow()) {
        out += " key";
    }
    if (Application::shared().isStatusBarHidden()) {
        out += " statusBar=hidden";
    } else {
        out += " statusBar=";
        out += StatusBar::styleName(Application::shared().statusBarStyle());
    }
}

}  // namespace zorlet
