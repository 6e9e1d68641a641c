#pragma once

#include "ui/ViewController.h"

#include <string>

namespace zorlet {

// Stands in for a screen of the app that is not built into this program: an
// empty screen with its title, answering to the real screen's class name so
// navigation, logs and page views read the same.
class PlaceholderViewController : public ViewController {
public:
    explicit PlaceholderViewController(std::string screenClassName, std::string title = {});
    std::string className() const override { return screenClassName_; }
    void viewDidLoad() override;

private:
    std::string screenClassName_;
};

}  // namespace zorlet
