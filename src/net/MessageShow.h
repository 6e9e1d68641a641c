#pragma once

#include <string>

namespace zorlet {

class AlertViewDelegate;
class View;

// Error messages as the user sees them: an alert titled with the text and a
// single "关闭" button.
class MessageShow {
public:
    static void error(const std::string& text, View* onView);
    // The same alert, tagged with `code` and answered to `delegate`, so the
    // delegate can tell which error the user confirmed.
    static void error(const std::string& text, int code, AlertViewDelegate* delegate, View* onView);
};

}  // namespace zorlet
