#include "ui/Keyboard.h"

#include "ui/Application.h"
#include "ui/TextInput.h"
#include "ui/View.h"
#include "ui/Window.h"

namespace zorlet {

namespace {

Json rectJson(const Rect& r) {
    return Json::array({r.x(), r.y(), r.width(), r.height()});
}

Rect rectFromJson(const Json& value) {
    if (!value.is_array() || value.size() != 4) {
        return {};
    }
    for (const auto& number : value) {
        if (!number.is_number()) {
            return {};
        }
    }
    return Rect(value[0].get<double>(), value[1].get<double>(), value[2].get<double>(),
                value[3].get<double>());
}

Size screenSize() {
    if (Window* window = Application::shared().keyWindow()) {
        return window->frame().size;
    }
    return {320, 480};
}

}  // namespace

Keyboard::Info Keyboard::Info::from(const Notification& notification) {
    Info info;
    const Json& data = notification.userInfo;
    if (!data.is_object()) {
        return info;
    }
    info.frameBegin = rectFromJson(data.value("frameBegin", Json()));
    info.frameEnd = rectFromJson(data.value("frameEnd", Json()));
    info.animationDuration = jsonDouble(data, "duration");
    info.animationCurve = static_cast<int>(jsonInt(data, "curve"));
    return info;
}

Keyboard& Keyboard::shared() {
    static Keyboard keyboard;
    return keyboard;
}

Rect Keyboard::frame() const {
    Size screen = screenSize();
    return Rect(0, screen.height - kHeight, screen.width, kHeight);
}

void Keyboard::postShowOrHide(bool show) {
    Size screen = screenSize();
    Rect up(0, screen.height - kHeight, screen.width, kHeight);
    Rect down(0, screen.height, screen.width, kHeight);
    Json info = {{"frameBegin", rectJson(show ? down : up)},
                 {"frameEnd", rectJson(show ? up : down)},
                 {"duration", kAnimationDuration},
                 {"curve", kAnimationCurve}};
    auto& center = NotificationCenter::defaultCenter();
    center.post(show ? kWillShowNotification : kWillHideNotification, nullptr, info);
    center.post(show ? kDidShowNotification : kDidHideNotification, nullptr, info);
}

bool Keyboard::focus(TextInput* input) {
    if (input == nullptr || firstResponder_ == input) {
        return input != nullptr;
    }
    bool wasShown = isShown();
    if (firstResponder_ != nullptr) {
        TextInput* previous = firstResponder_;
        // The previous holder hands over without lowering the keyboard.
        handingOver_ = true;
        previous->resignFirstResponder();
        handingOver_ = false;
        if (firstResponder_ == previous) {
            return false;
        }
    }
    firstResponder_ = input;
    if (!wasShown) {
        postShowOrHide(true);
    }
    return true;
}

void Keyboard::unfocus(TextInput* input) {
    if (firstResponder_ != input || input == nullptr) {
        return;
    }
    firstResponder_ = nullptr;
    if (!handingOver_) {
        postShowOrHide(false);
    }
}

void Keyboard::forget(TextInput* input) {
    if (firstResponder_ == input && input != nullptr) {
        firstResponder_ = nullptr;
        postShowOrHide(false);
    }
}

bool Keyboard::endEditing(View* root) {
    if (firstResponder_ == nullptr) {
        return true;
    }
    if (root != nullptr && !firstResponder_->inputView().isDescendantOf(root)) {
        return true;
    }
    return firstResponder_->resignFirstResponder();
}

void Keyboard::reset() {
    firstResponder_ = nullptr;
    handingOver_ = false;
    inputMode_ = "zh-Hans";
}

}  // namespace zorlet
