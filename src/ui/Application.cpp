#include "ui/Application.h"

#include "ui/Window.h"

namespace zorlet {

Application& Application::shared() {
    static Application application;
    return application;
}

void Application::windowWillClose(Window* window) {
    if (keyWindow_ == window) {
        keyWindow_ = nullptr;
    }
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
    networkActivity_ = false;
}

}  // namespace zorlet
