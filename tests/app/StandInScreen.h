#pragma once

#include "ui/Color.h"
#include "ui/ViewController.h"

#include <string>

namespace zorlet::test {

// Stands in for a real screen in tests of the shell: an empty screen with its
// title, answering to the real screen's class name.
class StandInScreen : public ViewController {
public:
    explicit StandInScreen(std::string screenClassName, std::string title = {})
        : screenClassName_(std::move(screenClassName)) {
        if (!title.empty()) {
            setTitle(std::move(title));
        }
    }
    std::string className() const override { return screenClassName_; }
    void viewDidLoad() override { view().setBackgroundColor(Color::whiteColor()); }

private:
    std::string screenClassName_;
};

}  // namespace zorlet::test
