#include "ui/Window.h"

#include "ui/Application.h"

namespace zorlet {

Window::Window(Rect frame) : View(frame) {
    setBackgroundColor(Color::blackColor());
}

Window::~Window() {
    Application::shared().windowWillClose(this);
}

Rect Window::contentFrame() const {
    return Rect(0, ViewController::kStatusBarHeight, frame().width(),
                frame().height() - ViewController::kStatusBarHeight);
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
}

}  // namespace zorlet
