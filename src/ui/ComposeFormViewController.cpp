#include "ui/ComposeFormViewController.h"

#include "ui/Label.h"

#include <algorithm>

namespace zorlet {

namespace {

constexpr double kMargin = 10;
constexpr double kLineHeight = 22;

std::string joined(const std::vector<std::string>& recipients) {
    std::string out;
    for (const auto& recipient : recipients) {
        out += (out.empty() ? "" : ", ") + recipient;
    }
    return out;
}

std::shared_ptr<Label> makeLabel(const Font& font, const Color& color) {
    auto label = std::make_shared<Label>();
    label->setFont(font);
    label->setTextColor(color);
    label->setBackgroundColor(Color::clearColor());
    return label;
}

}  // namespace

void ComposeFormViewController::viewDidLoad() {
    view().setBackgroundColor(Color::whiteColor());
    recipientsLabel_ = makeLabel(Font::systemFont(15), Color::blackColor());
    subjectLabel_ = makeLabel(Font::boldSystemFont(15), Color::blackColor());
    separator_ = std::make_shared<View>();
    separator_->setBackgroundColor(Color::white(0.8));
    bodyLabel_ = makeLabel(Font::systemFont(15), Color::darkGrayColor());
    bodyLabel_->setNumberOfLines(0);
    bodyLabel_->setLineBreakMode(LineBreakMode::WordWrap);
    for (const auto& subview :
         std::vector<ViewPtr>{recipientsLabel_, subjectLabel_, separator_, bodyLabel_}) {
        view().addSubview(subview);
    }
    layout();
}

void ComposeFormViewController::show(const OutgoingMessage& message) {
    message_ = message;
    if (isViewLoaded()) {
        layout();
    }
}

void ComposeFormViewController::layout() {
    double width = std::max(view().bounds().width(), kScreenWidth) - 2 * kMargin;
    double y = kMargin;
    recipientsLabel_->setText("收件人：" + joined(message_.recipients));
    recipientsLabel_->setFrame(Rect(kMargin, y, width, kLineHeight));
    y += kLineHeight + 4;
    bool mail = message_.kind == OutgoingMessage::Kind::Mail;
    subjectLabel_->setHidden(!mail);
    if (mail) {
        subjectLabel_->setText("主题：" + message_.subject);
        subjectLabel_->setFrame(Rect(kMargin, y, width, kLineHeight));
        y += kLineHeight + 4;
    }
    separator_->setFrame(Rect(0, y, width + 2 * kMargin, 1));
    y += 1 + kMargin;
    bodyLabel_->setText(message_.plainBody());
    Size fitted = bodyLabel_->sizeThatFits(Size{width, 0});
    bodyLabel_->setFrame(Rect(kMargin, y, width, fitted.height));
}

}  // namespace zorlet
