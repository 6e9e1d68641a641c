#pragma once

#include "ui/BarButtonItem.h"
#include "ui/ViewController.h"

#include <memory>

namespace zorlet {

// The navigation-bar button that opens the composer on its owner's navigation stack.
class SendPostBarButtonItem : public BarButtonItem {
public:
    explicit SendPostBarButtonItem(const std::shared_ptr<ViewController>& owner);
    static std::shared_ptr<SendPostBarButtonItem> create(const std::shared_ptr<ViewController>& owner) {
        return std::make_shared<SendPostBarButtonItem>(owner);
    }

    void goToSendPost();

    std::weak_ptr<ViewController> ownerViewController;
};

}  // namespace zorlet
