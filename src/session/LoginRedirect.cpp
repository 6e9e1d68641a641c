#include "session/LoginRedirect.h"

#include "app/AppDelegate.h"
#include "session/LoginService.h"
#include "ui/Application.h"
#include "ui/Window.h"

namespace zorlet {

void LoginRedirect::redirect(View* from) {
    Window* window = from != nullptr ? from->window() : nullptr;
    if (window == nullptr) {
        AppDelegate* app = AppDelegate::shared();
        window = app != nullptr && app->window ? app->window.get() : Application::shared().keyWindow();
    }
    if (window == nullptr) {
        return;
    }
    // The old root and everything it presented leave the window with it.
    window->setRootViewController(LoginService::getInstance().loginTurnToViewController());
    window->makeKeyAndVisible();
}

}  // namespace zorlet
