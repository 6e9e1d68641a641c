#include "widgets/OperationProgress.h"

#include "platform/MainLoop.h"
#include "ui/ImageView.h"
#include "ui/ProgressHUD.h"

namespace zorlet {

namespace {

constexpr Duration kCheckmarkTime{2000};

}  // namespace

std::shared_ptr<ProgressHUD> OperationProgress::show(View* host, const std::string& text, double yOffset) {
    if (host == nullptr) {
        return nullptr;
    }
    auto hud = ProgressHUD::showHUDAddedTo(host, true);
    hud->setId("progressHUD");
    hud->setLabelText(text);
    hud->setYOffset(yOffset);
    return hud;
}

void OperationProgress::succeed(ProgressHUD& hud, const std::string& text) {
    hud.setCustomView(std::make_shared<ImageView>(ImageAsset::named("37x-Checkmark.png")));
    hud.setMode(ProgressHUD::Mode::CustomView);
    hud.setLabelText(text);
    hud.hide(true, kCheckmarkTime);
}

void OperationProgress::hide(const std::shared_ptr<ProgressHUD>& hud) {
    if (hud) {
        hud->hide(true);
    }
}

}  // namespace zorlet
