#include "net/PagerCell.h"

#include "ui/ActivityIndicatorView.h"
#include "ui/Label.h"
#include "ui/TableView.h"

namespace zorlet {

namespace {

constexpr const char* kIdleText = "查看更多";
constexpr const char* kLoadingText = "加载更多";

}  // namespace

PagerCell::PagerCell()
    : TableViewCell(Style::Default, kIdentifier),
      titleLabel_(std::make_shared<Label>(Rect(0, 10, 320, 20))),
      indicator_(std::make_shared<ActivityIndicatorView>(Rect(100, 10, 20, 20))) {
    setFrame(Rect(0, 0, 320, kHeight));
    titleLabel_->setTextAlignment(TextAlignment::Center);
    titleLabel_->setTextColor(Color::darkGrayColor());
    contentView().addSubview(titleLabel_);
    contentView().addSubview(indicator_);
    setSelectionStyle(SelectionStyle::None);
    reset();
}

std::shared_ptr<PagerCell> PagerCell::dequeueReusablePagerCell(TableView& table) {
    auto reused = std::dynamic_pointer_cast<PagerCell>(table.dequeueReusableCell(kIdentifier));
    if (reused) {
        reused->reset();
        return reused;
    }
    return std::make_shared<PagerCell>();
}

void PagerCell::reset() {
    titleLabel_->setText(kIdleText);
    indicator_->stopAnimating();
}

void PagerCell::setSelected(bool selected, bool animated) {
    TableViewCell::setSelected(selected, animated);
    if (selected) {
        titleLabel_->setText(kLoadingText);
        indicator_->startAnimating();
    }
}

void PagerCell::prepareForReuse() {
    TableViewCell::prepareForReuse();
    reset();
}

const std::string& PagerCell::title() const {
    return titleLabel_->text();
}

bool PagerCell::isLoading() const {
    return indicator_->isAnimating();
}

}  // namespace zorlet
