#pragma once

#include "host/ScreenMatch.h"

#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zorlet {

class ActionSheet;
class AlertView;
class NavigationController;
class ScrollView;
class View;
class ViewController;
class Window;

// Finds what a user sees on the screen: views by their visible text or their
// automation id, in the window and in the alert or sheet shown over it. Only
// what is on screen counts: not hidden, inside the window and the scroll
// views that clip it, not under the keyboard and not covered by another view.
// While an alert (or a sheet) is shown it is the whole screen, as it is for a
// finger.
class ScreenQuery {
public:
    explicit ScreenQuery(Window& window) : window_(window) {}

    // Text matches when it equals `pattern` or the regular expression `pattern` matches all of it.
    std::vector<ScreenMatch> findText(const std::string& pattern) const;
    std::vector<ScreenMatch> findId(const std::string& id) const;
    static bool textMatches(const std::string& text, const std::string& pattern);

    AlertView* shownAlert() const;
    ActionSheet* shownSheet() const;

    // The screen the user looks at: down through presented screens, the
    // selected tab and the top of navigation stacks.
    ViewController* visibleViewController() const;
    // The navigation stack of that screen, if any.
    NavigationController* visibleNavigationController() const;
    // The visible screen's class name, with "+alert" / "+sheet" while one is shown.
    std::string screenName() const;

    // A progress indicator is on screen (work running, or its result about to fade).
    bool showsProgress() const;

    // The innermost scroll view under a window point, else the largest one on screen.
    ScrollView* scrollViewAt(Point windowPoint) const;

    // The button of a shown alert or sheet under a window point.
    static std::optional<int> alertButtonAt(AlertView& alert, Size screen, Point windowPoint);
    static std::optional<int> sheetButtonAt(ActionSheet& sheet, Size screen, Point windowPoint);

    Window& window() const { return window_; }

private:
    using Visitor = std::function<void(View& view, const Rect& visible)>;
    // Every view on screen under `root` with its visible part (window coordinates).
    void visit(View& root, const Visitor& visitor) const;
    void visitInto(View& view, const Rect& clip, const Visitor& visitor) const;
    bool isReachable(View& view, const Rect& visible) const;
    std::vector<ScreenMatch> collect(
        const std::function<void(View&, const Rect&, std::vector<ScreenMatch>&)>& matcher) const;

    Window& window_;
};

}  // namespace zorlet
