#include "net/MessageShow.h"

#include "platform/MainLoop.h"
#include "ui/AlertView.h"

namespace zorlet {

void MessageShow::error(const std::string& text, View*) {
    // Alerts are views: one asked for from a worker is shown on the main loop.
    auto tell = [text] { AlertView::create(text, "", nullptr, "关闭")->show(); };
    if (MainLoop::main().isLoopThread()) {
        tell();
    } else {
        MainLoop::main().post(tell);
    }
}

void MessageShow::error(const std::string& text, int code, AlertViewDelegate* delegate, View*) {
    auto alert = AlertView::create(text, "", delegate, "关闭");
    alert->setTag(code);
    alert->show();
}

}  // namespace zorlet
