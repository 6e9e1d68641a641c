#pragma once

#include "ui/Label.h"
#include "ui/ScrollView.h"
#include "ui/ViewController.h"

#include <memory>
#include <string>

namespace zorlet {

// The terms of use, scrollable.
class ProtocalViewController : public ViewController {
public:
    ProtocalViewController();
    std::string className() const override { return "ProtocalViewController"; }

    void loadView() override;
    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;

    // The terms as paragraphs separated by blank lines (resources/protocal.json).
    static std::string termsText();

    std::shared_ptr<ScrollView> scrollView;
    // Holds the terms; the scrollable size is its size.
    std::shared_ptr<Label> protocalView;
};

}  // namespace zorlet
