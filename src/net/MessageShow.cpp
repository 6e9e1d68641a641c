#include "net/MessageShow.h"

#include "ui/AlertView.h"

namespace zorlet {

void MessageShow::error(const std::string& text, View*) {
    AlertView::create(text, "", nullptr, "关闭")->show();
}

void MessageShow::error(const std::string& text, int code, AlertViewDelegate* delegate, View*) {
    auto alert = AlertView::create(text, "", delegate, "关闭");
    alert->setTag(code);
    alert->show();
}

}  // namespace zorlet
