#pragma once

#include <memory>
#include <string>

namespace zorlet {

class ProgressHUD;
class View;

// The progress indicator of an operation that changes data on the server:
// "操作中..." while it runs, a check mark with a short text for two seconds
// when it succeeded. Failures hide it (the request layer does that).
class OperationProgress {
public:
    // Raised above the centre, clear of the keyboard.
    static constexpr double kAboveKeyboard = -77;

    // Null when there is no view to show it on.
    static std::shared_ptr<ProgressHUD> show(View* host, const std::string& text, double yOffset = 0);
    static void succeed(ProgressHUD& hud, const std::string& text);
    static void hide(const std::shared_ptr<ProgressHUD>& hud);
};

}  // namespace zorlet
