#include "app/WelcomeViewController.h"

#include "app/CustomNavigationController.h"
#include "app/InterfaceDescription.h"
#include "app/ScreenActions.h"
#include "platform/Analytics.h"
#include "session/LoginViewController.h"
#include "session/RegisterViewController.h"
#include "ui/Application.h"
#include "ui/ImageAsset.h"
#include "ui/Window.h"

namespace zorlet {

void WelcomeViewController::loadView() {
    auto objects = InterfaceDescription::load("WelcomeViewController");
    setView(objects.empty() ? std::make_shared<View>(Rect(0, 0, kScreenWidth, 460)) : objects.front());
}

void WelcomeViewController::viewDidLoad() {
    Application::shared().setStatusBarHidden(true);
    imageView = InterfaceDescription::find<ImageView>(view(), "imageView");
    ScreenActions::connect(view(), "goLogin", this, &WelcomeViewController::goLogin);
    ScreenActions::connect(view(), "goRegister", this, &WelcomeViewController::goRegister);
    fitBackground();
}

void WelcomeViewController::viewWillAppear(bool) {
    Application::shared().setStatusBarHidden(true);
    fitBackground();
    Analytics::beginLogPageView(className());
}

void WelcomeViewController::viewWillDisappear(bool) {
    Analytics::endLogPageView(className());
}

void WelcomeViewController::fitBackground() {
    if (!imageView) {
        return;
    }
    Window* window = view().window() != nullptr ? view().window() : Application::shared().keyWindow();
    double screenHeight = window != nullptr ? window->frame().height() : kScreenHeight;
    if (screenHeight != kTallScreenHeight) {
        imageView->setImage(ImageAsset::named(kOtherScreensImage));
    }
}

void WelcomeViewController::goLogin() {
    presentModalViewController(
        std::make_shared<CustomNavigationController>(std::make_shared<LoginViewController>()), true);
}

void WelcomeViewController::goRegister() {
    presentModalViewController(
        std::make_shared<CustomNavigationController>(std::make_shared<RegisterViewController>()), true);
}

}  // namespace zorlet
