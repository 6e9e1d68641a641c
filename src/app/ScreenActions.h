#pragma once

#include "app/InterfaceDescription.h"
#include "platform/WeakSelf.h"
#include "ui/BarButtonItem.h"
#include "ui/Button.h"
#include "ui/GestureRecognizer.h"
#include "ui/ViewController.h"

#include <memory>
#include <string>

namespace zorlet {

// Binds buttons, bar items and taps to a screen's actions. The bindings hold
// the screen weakly: a screen that has gone away simply does not answer.
class ScreenActions {
public:
    template <typename Screen>
    using Action = void (Screen::*)();

    // The button with automation id `id` in `root` runs `action`; false when there is no such button.
    template <typename Screen>
    static bool connect(View& root, const std::string& id, Screen* screen, Action<Screen> action) {
        auto button = InterfaceDescription::find<Button>(root, id);
        if (!button) {
            return false;
        }
        button->addTarget(TouchUpInside, [call = bind(screen, action)](Control&) { call(); });
        return true;
    }

    // `id` is the automation id of the bar button; by convention the name of `action`.
    template <typename Screen>
    static BarButtonItemPtr barItem(std::string title, BarButtonItem::Style style, std::string id,
                                    Screen* screen, Action<Screen> action) {
        auto item = std::make_shared<BarButtonItem>(
            std::move(title), style, [call = bind(screen, action)](BarButtonItem&) { call(); });
        item->setId(std::move(id));
        return item;
    }

    template <typename Screen>
    static void onTap(View& view, Screen* screen, Action<Screen> action) {
        view.addGestureRecognizer(
            GestureRecognizer::tap([call = bind(screen, action)](GestureRecognizer&) { call(); }));
    }

    template <typename Screen>
    static std::function<void()> bind(Screen* screen, Action<Screen> action) {
        auto weak = weakSelf(screen);
        return [weak, action] {
            if (auto self = weak.lock()) {
                ((*self).*action)();
            }
        };
    }
};

}  // namespace zorlet
