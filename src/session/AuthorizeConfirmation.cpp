#include "session/AuthorizeConfirmation.h"

#include "platform/MainLoop.h"
#include "ui/ImageAsset.h"
#include "ui/ImageView.h"
#include "ui/NavigationController.h"
#include "ui/ProgressHUD.h"

namespace zorlet {

void AuthorizeConfirmation::confirm(ViewController& screen, const std::string& text) {
    View* host =
        screen.navigationController() != nullptr ? &screen.navigationController()->view() : &screen.view();
    auto hud = ProgressHUD::showHUDAddedTo(host, true);
    hud->setCustomView(std::make_shared<ImageView>(ImageAsset::named("37x-Checkmark")));
    hud->setMode(ProgressHUD::Mode::CustomView);
    hud->setLabelText(text);
    hud->setRemoveFromSuperViewOnHide(true);
    Duration delay(kDelayMilliseconds);
    hud->hide(true, delay);
    std::weak_ptr<ViewController> weak = screen.weak_from_this();
    MainLoop::main().runAfter(delay, [weak] {
        auto self = weak.lock();
        if (!self) {
            return;
        }
        NavigationController* navigation = self->navigationController();
        if (navigation != nullptr && navigation->topViewController() == self.get()) {
            navigation->popViewController(true);
        }
    });
}

}  // namespace zorlet
