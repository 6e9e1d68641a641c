#include "host/ScreenGestures.h"

#include "app/CustomNavigationController.h"
#include "host/ScreenQuery.h"
#include "ui/AlertRegistry.h"
#include "ui/NavigationController.h"
#include "ui/ScrollView.h"
#include "ui/UserInput.h"
#include "ui/Window.h"

#include <cmath>

namespace zorlet {

bool ScreenGestures::tap(const ScreenMatch& match, std::string& error) {
    switch (match.kind) {
        case ScreenMatch::Kind::AlertButton:
            if (!AlertRegistry::shared().answerAlert(match.index)) {
                error = "the alert no longer takes button " + std::to_string(match.index);
                return false;
            }
            return true;
        case ScreenMatch::Kind::SheetButton:
            if (!AlertRegistry::shared().answerSheet(match.index)) {
                error = "the sheet no longer takes button " + std::to_string(match.index);
                return false;
            }
            return true;
        case ScreenMatch::Kind::View:
            if (match.view != nullptr && match.view->window() != &window_) {
                // Inside an alert or a sheet (its text field, a sheet's picker).
                if (!UserInput::tap(*match.view)) {
                    error = "the tap on " + match.describe() + " was not taken";
                    return false;
                }
                return true;
            }
            [[fallthrough]];
        case ScreenMatch::Kind::TabItem:
        case ScreenMatch::Kind::Segment:
            return tapAt(match.center(), error);
    }
    return false;
}

bool ScreenGestures::tapAt(Point point, std::string& error) {
    ScreenQuery query(window_);
    Size screen = window_.frame().size;
    if (AlertView* alert = query.shownAlert()) {
        if (auto index = ScreenQuery::alertButtonAt(*alert, screen, point)) {
            return AlertRegistry::shared().answerAlert(*index);
        }
        for (const auto& child : alert->subviews()) {
            Rect area(child->convertToWindow(child->boundsOrigin()), child->frame().size);
            if (!child->isHidden() && area.contains(point)) {
                return UserInput::tap(*child);
            }
        }
        error = "an alert is shown and the tap missed its buttons";
        return false;
    }
    if (ActionSheet* sheet = query.shownSheet()) {
        if (auto index = ScreenQuery::sheetButtonAt(*sheet, screen, point)) {
            return AlertRegistry::shared().answerSheet(*index);
        }
        if (!sheet->frame().contains(point)) {
            error = "a sheet is shown and the tap missed it";
            return false;
        }
        View* hit = sheet->hitTest(sheet->convertFromWindow(point));
        if (hit == nullptr || hit == sheet || !UserInput::tap(*hit)) {
            error = "the tap on the sheet reached nothing";
            return false;
        }
        return true;
    }
    if (!UserInput::tapAt(window_, point)) {
        error = "nothing at (" + std::to_string(int(point.x)) + "," + std::to_string(int(point.y)) +
                ") takes a tap";
        return false;
    }
    return true;
}

bool ScreenGestures::back(std::string& error) {
    ScreenQuery query(window_);
    if (query.shownAlert() != nullptr || query.shownSheet() != nullptr) {
        error = "an alert or sheet is shown; answer it first";
        return false;
    }
    NavigationController* navigation = query.visibleNavigationController();
    if (navigation == nullptr) {
        error = "the screen has no way back";
        return false;
    }
    bool presented = navigation->presentingViewController() != nullptr;
    if (auto* custom = dynamic_cast<CustomNavigationController*>(navigation)) {
        if (custom->viewControllers().size() < 2 && !presented) {
            error = "already at the first screen";
            return false;
        }
        auto held = custom->weak_from_this().lock();
        custom->popViewController();
        return true;
    }
    if (navigation->viewControllers().size() >= 2 && UserInput::tapBackButton(*navigation)) {
        return true;
    }
    if (presented) {
        auto held = navigation->weak_from_this().lock();
        navigation->dismissModalViewController(true);
        return true;
    }
    error = "already at the first screen";
    return false;
}

bool ScreenGestures::swipe(Point start, Point end, std::string& error) {
    ScreenQuery query(window_);
    ScrollView* scrollView = query.scrollViewAt(start);
    if (scrollView == nullptr) {
        error = "nothing scrolls here";
        return false;
    }
    // The content follows the finger: moving the finger up shows what is further down.
    Point delta{start.x - end.x, start.y - end.y};
    bool atTop = scrollView->contentOffset().y <= scrollView->minContentOffset().y + 0.5;
    if (delta.y < 0 && std::fabs(delta.y) > std::fabs(delta.x) && atTop) {
        UserInput::pullDown(*scrollView, -delta.y);
    } else {
        UserInput::scroll(*scrollView, delta);
    }
    return true;
}

}  // namespace zorlet
