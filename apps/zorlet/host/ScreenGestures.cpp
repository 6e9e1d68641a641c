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

Status ScreenGestures::tap(const ScreenMatch& match) {
    switch (match.kind) {
        case ScreenMatch::Kind::AlertButton:
            if (!AlertRegistry::shared().answerAlert(match.index)) {
                return Failure{"the alert no longer takes button " + std::to_string(match.index)};
            }
            return {};
        case ScreenMatch::Kind::SheetButton:
            if (!AlertRegistry::shared().answerSheet(match.index)) {
                return Failure{"the sheet no longer takes button " + std::to_string(match.index)};
            }
            return {};
        case ScreenMatch::Kind::View:
            if (match.view != nullptr && match.view->window() != &window_) {
                // Inside an alert or a sheet (its text field, a sheet's picker).
                if (!UserInput::tap(*match.view)) {
                    return Failure{"the tap on " + match.describe() + " was not taken"};
                }
                return {};
            }
            [[fallthrough]];
        case ScreenMatch::Kind::TabItem:
        case ScreenMatch::Kind::Segment:
            return tapAt(match.center());
    }
    return Failure{"nothing on screen matches " + match.describe()};
}

Status ScreenGestures::tapAt(Point point) {
    ScreenQuery query(window_);
    Size screen = window_.frame().size;
    if (AlertView* alert = query.shownAlert()) {
        if (auto index = ScreenQuery::alertButtonAt(*alert, screen, point)) {
            if (!AlertRegistry::shared().answerAlert(*index)) {
                return Failure{"the alert no longer takes button " + std::to_string(*index)};
            }
            return {};
        }
        for (const auto& child : alert->subviews()) {
            Rect area(child->convertToWindow(child->boundsOrigin()), child->frame().size);
            if (!child->isHidden() && area.contains(point)) {
                if (!UserInput::tap(*child)) {
                    return Failure{"the tap on the alert reached nothing"};
                }
                return {};
            }
        }
        return Failure{"an alert is shown and the tap missed its buttons"};
    }
    if (ActionSheet* sheet = query.shownSheet()) {
        if (auto index = ScreenQuery::sheetButtonAt(*sheet, screen, point)) {
            if (!AlertRegistry::shared().answerSheet(*index)) {
                return Failure{"the sheet no longer takes button " + std::to_string(*index)};
            }
            return {};
        }
        if (!sheet->frame().contains(point)) {
            return Failure{"a sheet is shown and the tap missed it"};
        }
        View* hit = sheet->hitTest(sheet->convertFromWindow(point));
        if (hit == nullptr || hit == sheet || !UserInput::tap(*hit)) {
            return Failure{"the tap on the sheet reached nothing"};
        }
        return {};
    }
    if (!UserInput::tapAt(window_, point)) {
        return Failure{"nothing at (" + std::to_string(int(point.x)) + "," + std::to_string(int(point.y)) +
                       ") takes a tap"};
    }
    return {};
}

Status ScreenGestures::back() {
    ScreenQuery query(window_);
    if (query.shownAlert() != nullptr || query.shownSheet() != nullptr) {
        return Failure{"an alert or sheet is shown; answer it first"};
    }
    NavigationController* navigation = query.visibleNavigationController();
    if (navigation == nullptr) {
        return Failure{"the screen has no way back"};
    }
    bool presented = navigation->presentingViewController() != nullptr;
    if (auto* custom = dynamic_cast<CustomNavigationController*>(navigation)) {
        if (custom->viewControllers().size() < 2 && !presented) {
            return Failure{"already at the first screen"};
        }
        auto held = custom->weak_from_this().lock();
        custom->popViewController();
        return {};
    }
    if (navigation->viewControllers().size() >= 2 && UserInput::tapBackButton(*navigation)) {
        return {};
    }
    if (presented) {
        auto held = navigation->weak_from_this().lock();
        navigation->dismissModalViewController(true);
        return {};
    }
    return Failure{"already at the first screen"};
}

Status ScreenGestures::swipe(Point start, Point end) {
    ScreenQuery query(window_);
    ScrollView* scrollView = query.scrollViewAt(start);
    if (scrollView == nullptr) {
        return Failure{"nothing scrolls here"};
    }
    // The content follows the finger: moving the finger up shows what is further down.
    Point delta{start.x - end.x, start.y - end.y};
    bool atTop = scrollView->contentOffset().y <= scrollView->minContentOffset().y + 0.5;
    if (delta.y < 0 && std::fabs(delta.y) > std::fabs(delta.x) && atTop) {
        UserInput::pullDown(*scrollView, -delta.y);
    } else {
        UserInput::scroll(*scrollView, delta);
    }
    return {};
}

}  // namespace zorlet
