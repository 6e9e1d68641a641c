#include "ui/NavigationBar.h"

#include "ui/Painter.h"

#include <algorithm>

namespace zorlet {

namespace {
constexpr double kMargin = 5;
constexpr double kItemHeight = 30;
const Color kTintColor = Color::rgb(110, 132, 162);
}  // namespace

NavigationBar::NavigationBar() : View(Rect(0, 0, 320, kHeight)) {}

std::shared_ptr<Button> NavigationBar::makeItemButton(const BarButtonItemPtr& item) {
    auto button = std::make_shared<Button>();
    button->setId(item->id());
    if (item->image()) {
        button->setImage(item->image());
    }
    button->setTitle(item->title());
    button->setTitleFont(Font::boldSystemFont(12));
    button->setEnabled(item->isEnabled());
    std::weak_ptr<BarButtonItem> weakItem = item;
    button->addTarget(TouchUpInside, [weakItem](Control&) {
        if (auto held = weakItem.lock()) {
            held->trigger();
        }
    });
    double width = item->width() > 0 ? item->width() : std::max(44.0, button->sizeThatFits({}).width + 20);
    button->setFrame(Rect(0, 0, width, kItemHeight));
    return button;
}

ViewPtr NavigationBar::place(const BarButtonItemPtr& item, bool left) {
    if (!item) {
        return nullptr;
    }
    ViewPtr view = item->customView();
    if (!view) {
        view = makeItemButton(item);
    } else if (view->id().empty()) {
        view->setId(item->id());
    }
    Size size = view->frame().size;
    double x = left ? kMargin : frame().width() - kMargin - size.width;
    view->setFrame(Rect(x, (kHeight - size.height) / 2, size.width, size.height));
    addSubview(view);
    return view;
}

void NavigationBar::show(NavigationItem& item, const std::string& backTitle, std::function<void()> onBack) {
    for (auto& child : std::vector<ViewPtr>(subviews())) {
        child->removeFromSuperview();
    }
    backButton_.reset();
    leftButton_.reset();
    rightButton_.reset();
    titleLabel_.reset();

    double leftEdge = kMargin;
    double rightEdge = frame().width() - kMargin;
    if (ViewPtr left = place(item.leftBarButtonItem(), true)) {
        leftButton_ = std::dynamic_pointer_cast<Button>(left);
        leftEdge = left->frame().maxX() + kMargin;
    } else if (!backTitle.empty() && !item.hidesBackButton()) {
        backButton_ = std::make_shared<Button>();
        backButton_->setTitle(backTitle);
        backButton_->setTitleFont(Font::boldSystemFont(12));
        double width = std::clamp(backButton_->sizeThatFits({}).width + 24, 50.0, 110.0);
        backButton_->setFrame(Rect(kMargin, (kHeight - kItemHeight) / 2, width, kItemHeight));
        backButton_->addTarget(TouchUpInside, [onBack](Control&) {
            if (onBack) {
                onBack();
            }
        });
        addSubview(backButton_);
        leftEdge = backButton_->frame().maxX() + kMargin;
    }
    if (ViewPtr right = place(item.rightBarButtonItem(), false)) {
        rightButton_ = std::dynamic_pointer_cast<Button>(right);
        rightEdge = right->frame().x() - kMargin;
    }
    // The title stays centred on the bar, narrowed to stay clear of the items.
    double half = std::max(0.0, std::min(frame().width() / 2 - leftEdge, rightEdge - frame().width() / 2));
    Rect titleBox(frame().width() / 2 - half, 0, 2 * half, kHeight);
    if (const ViewPtr& titleView = item.titleView()) {
        Size size = titleView->frame().size;
        titleView->setFrame(
            Rect(frame().width() / 2 - size.width / 2, (kHeight - size.height) / 2, size.width, size.height));
        addSubview(titleView);
    } else if (!item.title().empty()) {
        titleLabel_ = std::make_shared<Label>(titleBox);
        titleLabel_->setText(item.title());
        titleLabel_->setFont(Font::boldSystemFont(20));
        titleLabel_->setTextColor(Color::whiteColor());
        titleLabel_->setTextAlignment(TextAlignment::Center);
        addSubview(titleLabel_);
    }
}

void NavigationBar::draw(Painter& painter) const {
    Rect box(0, 0, frame().width(), frame().height());
    if (!backgroundImage()) {  // else the renderer has drawn the bar's picture
        painter.fillRect(box, kTintColor);
        painter.fillRect(Rect(0, 0, box.width(), box.height() / 2), Color::white(1, 0.12));
        painter.drawLine({0, box.height() - 0.5}, {box.width(), box.height() - 0.5}, Color::white(0, 0.4));
    }
    // Items without pictures of their own still look like buttons.
    for (const auto& button : {backButton_, leftButton_, rightButton_}) {
        if (button && !button->currentBackgroundImage() && !button->currentImage()) {
            painter.fillRoundedRect(button->frame(), 5,
                                    Color::white(0, button->isHighlighted() ? 0.45 : 0.25));
        }
    }
}

}  // namespace zorlet
