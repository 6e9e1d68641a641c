#include "ui/ProgressHUD.h"

#include "ui/Painter.h"
#include "ui/ViewTreeDump.h"

#include <algorithm>
#include <cmath>

namespace zorlet {

namespace {
const Font kLabelFont = Font::boldSystemFont(16);
const Font kDetailsFont = Font::boldSystemFont(12);
constexpr double kMargin = 20;
}  // namespace

ProgressHUD::ProgressHUD(View* host) : View(host != nullptr ? Rect(Point{}, host->frame().size) : Rect()) {
    setHidden(true);
}

ProgressHUD::~ProgressHUD() {
    cancelPendingHide();
}

std::shared_ptr<ProgressHUD> ProgressHUD::showHUDAddedTo(View* host, bool animated) {
    auto hud = std::make_shared<ProgressHUD>(host);
    hud->setRemoveFromSuperViewOnHide(true);  // a HUD made this way goes away when hidden
    if (host != nullptr) {
        hud->setFrame(Rect(host->boundsOrigin(), host->frame().size));
        host->addSubview(hud);
    }
    hud->show(animated);
    return hud;
}

ProgressHUD* ProgressHUD::HUDForView(View* host) {
    if (host == nullptr) {
        return nullptr;
    }
    const auto& children = host->subviews();
    for (auto it = children.rbegin(); it != children.rend(); ++it) {
        if (auto* hud = dynamic_cast<ProgressHUD*>(it->get())) {
            return hud;
        }
    }
    return nullptr;
}

bool ProgressHUD::hideHUDForView(View* host, bool animated) {
    ProgressHUD* hud = HUDForView(host);
    if (hud == nullptr) {
        return false;
    }
    hud->setRemoveFromSuperViewOnHide(true);
    hud->hide(animated);
    return true;
}

void ProgressHUD::setCustomView(ViewPtr view) {
    if (customView_) {
        customView_->removeFromSuperview();
    }
    customView_ = std::move(view);
    if (customView_) {
        addSubview(customView_);
        positionCustomView();
    }
}

void ProgressHUD::cancelPendingHide() {
    if (hideTimer_ != 0) {
        MainLoop::main().cancel(hideTimer_);
        hideTimer_ = 0;
    }
}

void ProgressHUD::positionCustomView() const {
    if (customView_) {
        Rect box = boxFrame();
        Size size = customView_->frame().size;
        customView_->setFrame(Rect(box.midX() - size.width / 2, box.y() + kMargin, size.width, size.height));
        customView_->setHidden(mode_ != Mode::CustomView);
    }
}

void ProgressHUD::show(bool animated) {
    cancelPendingHide();
    positionCustomView();
    lastAnimated_ = animated;
    shown_ = true;
    setHidden(false);
}

void ProgressHUD::hide(bool animated) {
    cancelPendingHide();
    lastAnimated_ = animated;
    if (!shown_) {
        return;
    }
    finishHide();
}

void ProgressHUD::finishHide() {
    // Removing may drop the last reference; stay alive to the end.
    auto self = shared_from_this();
    shown_ = false;
    setHidden(true);
    if (removeOnHide_) {
        removeFromSuperview();
    }
}

void ProgressHUD::hide(bool animated, Duration delay) {
    cancelPendingHide();
    std::weak_ptr<View> weak = weak_from_this();
    hideTimer_ = MainLoop::main().runAfter(delay, [this, weak, animated] {
        if (weak.expired()) {
            return;
        }
        hideTimer_ = 0;
        lastAnimated_ = animated;
        if (shown_) {
            finishHide();
        }
    });
}

void ProgressHUD::showWhileExecuting(std::function<void()> work, std::function<void()> done, bool animated) {
    show(animated);
    std::weak_ptr<View> weak = weak_from_this();
    MainLoop::main().runInBackground(std::move(work), [this, weak, done = std::move(done), animated] {
        if (auto alive = weak.lock()) {
            hide(animated);
        }
        if (done) {
            done();
        }
    });
}

Rect ProgressHUD::boxFrame() const {
    double width = 0;
    double height = 0;
    if (mode_ != Mode::Text) {
        Size indicator = mode_ == Mode::CustomView && customView_ ? customView_->frame().size : Size{37, 37};
        width = indicator.width;
        height = indicator.height;
    }
    double maxText = frame().width() - 4 * kMargin;
    if (!labelText_.empty()) {
        auto measured = TextLayout::shared().measure(labelText_, kLabelFont, 0);
        width = std::max(width, std::min(measured.width, maxText));
        height += measured.height + (height > 0 ? 4 : 0);
    }
    if (!detailsText_.empty()) {
        auto measured = TextLayout::shared().measure(detailsText_, kDetailsFont, maxText);
        width = std::max(width, measured.width);
        height += measured.height + 4;
    }
    width = std::max(width + 2 * kMargin, height + 2 * kMargin);
    height += 2 * kMargin;
    return Rect((frame().width() - width) / 2, (frame().height() - height) / 2 + yOffset_, width, height);
}

void ProgressHUD::draw(Painter& painter) const {
    if (dimBackground_) {
        painter.fillRect(Rect(0, 0, frame().width(), frame().height()), Color::white(0, 0.5));
    }
    Rect box = boxFrame();
    painter.fillRoundedRect(box, 10, Color::white(0, 0.8));
    double y = box.y() + kMargin;
    if (mode_ == Mode::CustomView && customView_) {
        positionCustomView();
        y += customView_->frame().height() + 4;
    } else if (mode_ == Mode::Indeterminate) {
        for (int i = 0; i < 12; ++i) {
            double angle = i * M_PI / 6;
            Point c{box.midX(), y + 18.5};
            painter.drawLine({c.x + 8 * std::cos(angle), c.y + 8 * std::sin(angle)},
                             {c.x + 16 * std::cos(angle), c.y + 16 * std::sin(angle)},
                             Color::white(1, 0.3 + 0.055 * i), 3);
        }
        y += 41;
    }
    if (!labelText_.empty()) {
        double h = TextLayout::shared().lineHeight(kLabelFont);
        painter.drawText(Rect(box.x() + 8, y, box.width() - 16, h), labelText_, kLabelFont,
                         Color::whiteColor(), TextAlignment::Center);
        y += h + 4;
    }
    if (!detailsText_.empty()) {
        double h = TextLayout::shared().measure(detailsText_, kDetailsFont, box.width() - 16).height;
        painter.drawText(Rect(box.x() + 8, y, box.width() - 16, h), detailsText_, kDetailsFont,
                         Color::whiteColor(), TextAlignment::Center, LineBreakMode::WordWrap, 0);
    }
}

void ProgressHUD::describe(std::string& out) const {
    static const char* kModes[] = {"indeterminate", "determinate", "custom", "text"};
    out += std::string(" mode=") + kModes[static_cast<int>(mode_)];
    if (!labelText_.empty()) {
        out += " label=" + ViewTreeDump::quoted(labelText_);
    }
    if (!detailsText_.empty()) {
        out += " details=" + ViewTreeDump::quoted(detailsText_);
    }
    if (dimBackground_) {
        out += " dimmed";
    }
    if (yOffset_ != 0) {
        out += " yOffset=" + ViewTreeDump::number(yOffset_);
    }
}

}  // namespace zorlet
