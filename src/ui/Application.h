#pragma once

#include <functional>
#include <string>
#include <vector>

namespace zorlet {

class Window;

// How the status bar looks: dark text on a light bar, light text over the
// screen's own top, or light text on a black bar.
enum class StatusBarStyle { Default, LightContent, BlackOpaque };

// The application object: the key window, the icon badge, and links handed to
// the system. Main loop thread only.
class Application {
public:
    using UrlOpener = std::function<bool(const std::string& url)>;

    static Application& shared();

    Window* keyWindow() const { return keyWindow_; }
    void setKeyWindow(Window* window) { keyWindow_ = window; }
    void windowDidOpen(Window* window);
    void windowWillClose(Window* window);

    // The status bar over every window; the windows' screens start below it
    // while it is shown and at the top while it is hidden.
    static constexpr double kStatusBarAnimationDuration = 0.3;
    bool isStatusBarHidden() const { return statusBarHidden_; }
    void setStatusBarHidden(bool hidden, bool animated = false);
    StatusBarStyle statusBarStyle() const { return statusBarStyle_; }
    void setStatusBarStyle(StatusBarStyle style);

    int applicationIconBadgeNumber() const { return badgeNumber_; }
    void setApplicationIconBadgeNumber(int number) { badgeNumber_ = number; }

    // Recorded, then handed to the opener the window host installs (none when headless).
    bool openURL(const std::string& url);
    bool canOpenURL(const std::string& url) const;
    const std::vector<std::string>& openedUrls() const { return openedUrls_; }
    void setUrlOpener(UrlOpener opener) { opener_ = std::move(opener); }

    // Tells every screen of the key window of a memory warning.
    void simulateMemoryWarning();

    // Test support: no key window, no badge, nothing opened, no opener, the
    // status bar shown in the default style, no animation running.
    void reset();

private:
    Window* keyWindow_ = nullptr;
    std::vector<Window*> windows_;
    bool statusBarHidden_ = false;
    StatusBarStyle statusBarStyle_ = StatusBarStyle::Default;
    int badgeNumber_ = 0;
    std::vector<std::string> openedUrls_;
    UrlOpener opener_;
};

}  // namespace zorlet
