#include "host/ScreenQuery.h"

#include "ui/ActionSheet.h"
#include "ui/AlertRegistry.h"
#include "ui/AlertView.h"
#include "ui/Button.h"
#include "ui/Keyboard.h"
#include "ui/Label.h"
#include "ui/NavigationController.h"
#include "ui/ProgressHUD.h"
#include "ui/ScrollView.h"
#include "ui/SegmentedControl.h"
#include "ui/TabBar.h"
#include "ui/TabBarController.h"
#include "ui/TextField.h"
#include "ui/TextView.h"
#include "ui/Window.h"

#include <algorithm>
#include <regex>

namespace zorlet {

namespace {

Rect intersection(const Rect& a, const Rect& b) {
    double x = std::max(a.x(), b.x());
    double y = std::max(a.y(), b.y());
    double maxX = std::min(a.maxX(), b.maxX());
    double maxY = std::min(a.maxY(), b.maxY());
    if (maxX <= x || maxY <= y) {
        return Rect(x, y, 0, 0);
    }
    return Rect(x, y, maxX - x, maxY - y);
}

Rect windowRect(const View& view) {
    return Rect(view.convertToWindow(view.boundsOrigin()), view.frame().size);
}

// The texts a view shows as a user reads them.
std::vector<std::string> shownTexts(View& view) {
    if (auto* label = dynamic_cast<Label*>(&view)) {
        return {label->text()};
    }
    if (auto* button = dynamic_cast<Button*>(&view)) {
        return {button->currentTitle()};
    }
    if (auto* field = dynamic_cast<TextField*>(&view)) {
        if (field->text().empty()) {
            return {field->placeholder()};
        }
        return {field->isSecureTextEntry() ? std::string() : field->text()};
    }
    if (auto* textView = dynamic_cast<TextView*>(&view)) {
        return {textView->text()};
    }
    if (auto* hud = dynamic_cast<ProgressHUD*>(&view)) {
        return {hud->labelText(), hud->detailsLabelText()};
    }
    return {};
}

// Expressions work on characters, not UTF-8 bytes, so "第.行" matches "第一行".
std::wstring wide(const std::string& text) {
    std::wstring out;
    for (std::size_t i = 0; i < text.size();) {
        auto byte = static_cast<unsigned char>(text[i]);
        int length = byte < 0x80           ? 1
                     : (byte >> 5) == 0x6  ? 2
                     : (byte >> 4) == 0xE  ? 3
                     : (byte >> 3) == 0x1E ? 4
                                           : 1;
        char32_t code = length == 1 ? byte : byte & (0x7F >> length);
        for (int k = 1; k < length && i + static_cast<std::size_t>(k) < text.size(); ++k) {
            code = (code << 6) | (static_cast<unsigned char>(text[i + static_cast<std::size_t>(k)]) & 0x3F);
        }
        out.push_back(static_cast<wchar_t>(code));
        i += static_cast<std::size_t>(length);
    }
    return out;
}

}  // namespace

bool ScreenQuery::textMatches(const std::string& text, const std::string& pattern) {
    if (text.empty()) {
        return pattern.empty();
    }
    if (text == pattern) {
        return true;
    }
    try {
        return std::regex_match(wide(text), std::wregex(wide(pattern), std::regex::ECMAScript));
    } catch (const std::regex_error&) {
        return false;  // not a regular expression: only the exact text matches
    }
}

AlertView* ScreenQuery::shownAlert() const {
    return AlertRegistry::shared().topAlert();
}

ActionSheet* ScreenQuery::shownSheet() const {
    return AlertRegistry::shared().topSheet();
}

void ScreenQuery::visit(View& root, const Visitor& visitor) const {
    visitInto(root, windowRect(root), visitor);
}

void ScreenQuery::visitInto(View& view, const Rect& clip, const Visitor& visitor) const {
    if (view.isHidden() || view.alpha() <= 0.01) {
        return;
    }
    Rect visible = intersection(windowRect(view), clip);
    if (!visible.isEmpty()) {
        visitor(view, visible);
    }
    // Scroll views and clipping views hide what lies outside them; others let subviews overflow.
    Rect childClip = (view.clipsToBounds() || dynamic_cast<ScrollView*>(&view) != nullptr) ? visible : clip;
    for (const auto& child : std::vector<ViewPtr>(view.subviews())) {
        visitInto(*child, childClip, visitor);
    }
}

bool ScreenQuery::isReachable(View& view, const Rect& visible) const {
    if (view.window() != &window_) {
        return true;  // inside an alert or sheet, which is on top of everything
    }
    Point center{visible.midX(), visible.midY()};
    if (Keyboard::shared().isShown() && Keyboard::shared().frame().contains(center)) {
        return false;
    }
    View* hit = window_.hitTest(center);
    return hit == nullptr || hit == &view || view.isDescendantOf(hit) || hit->isDescendantOf(&view);
}

std::vector<ScreenMatch> ScreenQuery::collect(
    const std::function<void(View&, const Rect&, std::vector<ScreenMatch>&)>& matcher) const {
    std::vector<ScreenMatch> matches;
    Visitor visitor = [&](View& view, const Rect& visible) {
        if (isReachable(view, visible)) {
            matcher(view, visible, matches);
        }
    };
    Size screen = window_.frame().size;
    if (AlertView* alert = shownAlert()) {
        alert->layoutForScreen(screen);
        visit(*alert, visitor);
    } else if (ActionSheet* sheet = shownSheet()) {
        sheet->layoutForScreen(screen);
        visit(*sheet, visitor);
    } else {
        visit(window_, visitor);
    }
    return matches;
}

std::vector<ScreenMatch> ScreenQuery::findText(const std::string& pattern) const {
    return collect([&](View& view, const Rect& visible, std::vector<ScreenMatch>& out) {
        if (auto* alert = dynamic_cast<AlertView*>(&view)) {
            for (const std::string& text : {alert->title(), alert->message()}) {
                if (!text.empty() && textMatches(text, pattern)) {
                    out.push_back({ScreenMatch::Kind::View, alert, -1, visible, text});
                }
            }
            for (int i = 0; i < alert->numberOfButtons(); ++i) {
                if (textMatches(alert->buttonTitle(i), pattern)) {
                    out.push_back({ScreenMatch::Kind::AlertButton, alert, i, visible, alert->buttonTitle(i)});
                }
            }
            return;
        }
        if (auto* sheet = dynamic_cast<ActionSheet*>(&view)) {
            if (!sheet->title().empty() && textMatches(sheet->title(), pattern)) {
                out.push_back({ScreenMatch::Kind::View, sheet, -1, visible, sheet->title()});
            }
            for (int i = 0; i < sheet->numberOfButtons(); ++i) {
                if (textMatches(sheet->buttonTitle(i), pattern)) {
                    out.push_back({ScreenMatch::Kind::SheetButton, sheet, i, visible, sheet->buttonTitle(i)});
                }
            }
            return;
        }
        if (auto* tabBar = dynamic_cast<TabBar*>(&view)) {
            for (std::size_t i = 0; i < tabBar->items().size(); ++i) {
                Rect item = tabBar->itemRect(static_cast<int>(i));
                Rect area(tabBar->convertToWindow(item.origin), item.size);
                // The badge is drawn on the item, so finding it finds (and taps) the item.
                for (const std::string& text :
                     {tabBar->items()[i]->title(), tabBar->items()[i]->badgeValue()}) {
                    if (!text.empty() && textMatches(text, pattern)) {
                        out.push_back({ScreenMatch::Kind::TabItem, tabBar, static_cast<int>(i), area, text});
                    }
                }
            }
            return;
        }
        if (auto* segments = dynamic_cast<SegmentedControl*>(&view)) {
            std::size_t count = segments->items().size();
            for (std::size_t i = 0; i < count; ++i) {
                if (textMatches(segments->items()[i], pattern)) {
                    Rect whole = windowRect(*segments);
                    double width = whole.width() / static_cast<double>(count);
                    Rect area(whole.x() + width * static_cast<double>(i), whole.y(), width, whole.height());
                    out.push_back({ScreenMatch::Kind::Segment, segments, static_cast<int>(i), area,
                                   segments->items()[i]});
                }
            }
            return;
        }
        for (const std::string& text : shownTexts(view)) {
            if (!text.empty() && textMatches(text, pattern)) {
                out.push_back({ScreenMatch::Kind::View, &view, -1, visible, text});
            }
        }
    });
}

std::vector<ScreenMatch> ScreenQuery::findId(const std::string& id) const {
    return collect([&](View& view, const Rect& visible, std::vector<ScreenMatch>& out) {
        if (view.id() == id) {
            std::vector<std::string> texts = shownTexts(view);
            out.push_back(
                {ScreenMatch::Kind::View, &view, -1, visible, texts.empty() ? std::string() : texts[0]});
        }
    });
}

ViewController* ScreenQuery::visibleViewController() const {
    ViewController* controller = window_.topViewController();
    while (controller != nullptr) {
        if (ViewController* presented = controller->modalViewController()) {
            controller = presented;
        } else if (auto* tabs = dynamic_cast<TabBarController*>(controller)) {
            ViewController* selected = tabs->selectedViewController();
            if (selected == nullptr) {
                break;
            }
            controller = selected;
        } else if (auto* navigation = dynamic_cast<NavigationController*>(controller)) {
            ViewController* top = navigation->topViewController();
            if (top == nullptr) {
                break;
            }
            controller = top;
        } else {
            break;
        }
    }
    return controller;
}

NavigationController* ScreenQuery::visibleNavigationController() const {
    ViewController* controller = visibleViewController();
    return controller != nullptr ? controller->navigationController() : nullptr;
}

std::string ScreenQuery::screenName() const {
    ViewController* controller = visibleViewController();
    std::string name = controller != nullptr ? controller->className() : "(no screen)";
    if (shownAlert() != nullptr) {
        name += "+alert";
    } else if (shownSheet() != nullptr) {
        name += "+sheet";
    }
    return name;
}

bool ScreenQuery::showsProgress() const {
    bool found = false;
    visit(window_,
          [&](View& view, const Rect&) { found = found || dynamic_cast<ProgressHUD*>(&view) != nullptr; });
    return found;
}

ScrollView* ScreenQuery::scrollViewAt(Point windowPoint) const {
    for (View* view = window_.hitTest(windowPoint); view != nullptr; view = view->superview()) {
        if (auto* scrollView = dynamic_cast<ScrollView*>(view); scrollView && scrollView->isScrollEnabled()) {
            return scrollView;
        }
    }
    ScrollView* largest = nullptr;
    double largestArea = 0;
    visit(window_, [&](View& view, const Rect& visible) {
        auto* scrollView = dynamic_cast<ScrollView*>(&view);
        double area = visible.width() * visible.height();
        if (scrollView != nullptr && scrollView->isScrollEnabled() && area > largestArea &&
            isReachable(view, visible)) {
            largest = scrollView;
            largestArea = area;
        }
    });
    return largest;
}

std::optional<int> ScreenQuery::alertButtonAt(AlertView& alert, Size screen, Point windowPoint) {
    // Mirrors the alert's drawing: buttons at the bottom, two side by side, otherwise one per row.
    constexpr double kPadding = 16;
    constexpr double kButtonHeight = 43;
    constexpr double kRowGap = 6;
    alert.layoutForScreen(screen);
    int count = alert.numberOfButtons();
    if (count == 0) {
        return std::nullopt;
    }
    Rect frame = alert.frame();
    int rows = count == 2 ? 1 : count;
    double top = frame.maxY() - 8 - rows * (kButtonHeight + kRowGap);
    double width = frame.width() - 2 * kPadding;
    for (int i = 0; i < count; ++i) {
        Rect button;
        if (count == 2) {
            double half = (width - 8) / 2;
            button = Rect(frame.x() + kPadding + i * (half + 8), top, half, kButtonHeight);
        } else {
            button = Rect(frame.x() + kPadding, top + i * (kButtonHeight + kRowGap), width, kButtonHeight);
        }
        if (button.contains(windowPoint)) {
            return i;
        }
    }
    return std::nullopt;
}

std::optional<int> ScreenQuery::sheetButtonAt(ActionSheet& sheet, Size screen, Point windowPoint) {
    // Mirrors the sheet's drawing: buttons from the bottom up, the cancel button set apart.
    constexpr double kButtonHeight = 44;
    constexpr double kGap = 8;
    constexpr double kPadding = 20;
    sheet.layoutForScreen(screen);
    if (!sheet.subviews().empty()) {
        return std::nullopt;  // custom content answers taps itself
    }
    Rect frame = sheet.frame();
    double y = frame.maxY() - 2 * kGap;
    for (int i = sheet.numberOfButtons() - 1; i >= 0; --i) {
        Rect button(frame.x() + kPadding, y - kButtonHeight, frame.width() - 2 * kPadding, kButtonHeight);
        if (button.contains(windowPoint)) {
            return i;
        }
        y -= kButtonHeight + kGap;
        if (i == sheet.cancelButtonIndex()) {
            y -= kGap;
        }
    }
    return std::nullopt;
}

}  // namespace zorlet
