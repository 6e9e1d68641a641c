#pragma once

#include <memory>
#include <string>

namespace zorlet {

class ViewController;

// The end of a successful re-authorization or binding: a check mark with a
// short text over the screen, then the screen pops itself after 2 seconds.
class AuthorizeConfirmation {
public:
    static constexpr int kDelayMilliseconds = 2000;

    // Shows `text` on `screen` and pops it after the delay (when it is still on its stack).
    static void confirm(ViewController& screen, const std::string& text);
};

}  // namespace zorlet
