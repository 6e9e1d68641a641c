#include "ui/Application.h"

#include "ui/Animator.h"
#include "ui/Window.h"

namespace zorlet {

Application& Application::shared() {
    static Application application;
    return application;
}

void Application::windowDidOpen(Window* window) {
    windows_.push_back(window);
}

void Application::windowWillClose(Window* window) {
    if (keyWindow_ == window) {
        keyWindow_ = nullptr;
    }
    std::erase(windows_, window);
}

void Application::setStatusBarHidden(bool hidden, bool animated) {
    if (hidden == statusBarHidden_) {
        return;
    }
    statusBarHidden_ = hidden;
    for (Window* window : std::vector<Window*>(windows_)) {
        window->statusBarDidChange(animated);
    }
}

void Application::setStatusBarStyle(StatusBarStyle style) {
    statusBarStyle_ = style;
}

bool Application::canOpenURL(const std::string& url) const {
    auto colon = url.find(':');
    return colon != std::string::npos && colon > 0;
}

bool Application::openURL(const std::string& url) {
    if (!canOpenURL(url)) {
        return false;
    }
    openedUrls_.push_back(url);
    return opener_ ? opener_(url) : true;
}

void Application::simulateMemoryWarning() {
    if (keyWindow_ != nullptr && keyWindow_->rootViewController() != nullptr) {
        keyWindow_->rootViewController()->deliverMemoryWarning();
    }
}

void Application::reset() {
    keyWindow_ = nullptr;
    badgeNumber_ = 0;
    openedUrls_.clear();
    opener_ = nullptr;
    Animator::shared().reset();
    setStatusBarStyle(StatusBarStyle::Default);
    setStatusBarHidden(false);
}

}  // namespace zorlet
