#pragma once

#include "ui/ImageView.h"
#include "ui/ViewController.h"

#include <memory>

namespace zorlet {

// The root while nobody is signed in: a picture with the ways in, sign-in and
// registration, each opened modally in its own navigation controller.
class WelcomeViewController : public ViewController {
public:
    WelcomeViewController() = default;
    std::string className() const override { return "WelcomeViewController"; }

    void loadView() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    void goLogin();
    void goRegister();

    std::shared_ptr<ImageView> imageView;

    // The background picture is drawn for this screen height; others get the launch picture.
    static constexpr double kTallScreenHeight = 568;
    static constexpr const char* kOtherScreensImage = "Default.png";

private:
    void fitBackground();
};

}  // namespace zorlet
