#include "session/ProtocalViewController.h"

#include "app/InterfaceDescription.h"
#include "platform/Analytics.h"
#include "platform/AtomicFile.h"
#include "platform/Json.h"

namespace zorlet {

ProtocalViewController::ProtocalViewController() {
    setTitle("使用协议");
}

std::string ProtocalViewController::termsText() {
    auto bytes = AtomicFile::read(std::string(ZORLET_RESOURCES_DIR) + "/protocal.json");
    auto terms = bytes ? parseJson(*bytes) : std::nullopt;
    std::string text;
    if (!terms || !terms->is_object()) {
        return text;
    }
    for (const auto& paragraph : jsonArray(*terms, "paragraphs")) {
        if (paragraph.is_string()) {
            text += (text.empty() ? "" : "\n\n") + paragraph.get<std::string>();
        }
    }
    return text;
}

void ProtocalViewController::loadView() {
    auto objects = InterfaceDescription::load("ProtocalViewController");
    setView(objects.empty() ? std::make_shared<View>(Rect(0, 0, kScreenWidth, 416)) : objects.front());
}

void ProtocalViewController::viewDidLoad() {
    scrollView = InterfaceDescription::find<ScrollView>(view(), "scrollView");
    protocalView = InterfaceDescription::find<Label>(view(), "protocalView");
    if (!scrollView || !protocalView) {
        return;
    }
    protocalView->setText(termsText());
    Rect frame = protocalView->frame();
    Size needed = protocalView->sizeThatFits(Size{frame.width(), 0});
    protocalView->setFrame(Rect(frame.x(), frame.y(), frame.width(), needed.height));
    scrollView->setContentSize(Size{scrollView->frame().width(), frame.y() * 2 + needed.height});
}

void ProtocalViewController::viewWillAppear(bool) {
    Analytics::beginLogPageView(className());
}

void ProtocalViewController::viewWillDisappear(bool) {
    Analytics::endLogPageView(className());
}

}  // namespace zorlet
