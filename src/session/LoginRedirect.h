#pragma once

namespace zorlet {

class View;

// After a sign-in: the whole signed-out stack (welcome, the modal sign-in
// screens, a web sign-in) gives way to the first screen for the signed-in
// user, as the window's new root.
class LoginRedirect {
public:
    // `from` is any view of the leaving screens; it names the window to change
    // (the application's window when it is not in one).
    static void redirect(View* from);
};

}  // namespace zorlet
