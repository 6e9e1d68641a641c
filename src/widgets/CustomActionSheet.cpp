#include "widgets/CustomActionSheet.h"

#include "ui/Color.h"
#include "ui/Toolbar.h"

#include <algorithm>
#include <cmath>

namespace zorlet {

namespace {

// The platform sizes a sheet by its title; one line per 16 points of content
// makes room for the toolbar and the content under it.
std::string spacerTitle(double height) {
    if (!std::isfinite(height) || height < 16) {
        return {};
    }
    return std::string(static_cast<std::size_t>(height / 16), '\n');
}

std::string orDefault(std::string title, const char* fallback) {
    return title.empty() ? std::string(fallback) : title;
}

}  // namespace

CustomActionSheet::CustomActionSheet(double height, std::string sheetTitle, std::string cancelTitle,
                                     std::string doneTitle,
                                     std::shared_ptr<CustomActionSheetDelegate> delegate)
    : ActionSheet(spacerTitle(height), nullptr, {}, {}),
      heldDelegate_(delegate),
      delegate_(std::move(delegate)) {
    double contentHeight = std::isfinite(height) ? std::max(0.0, height) : 0.0;

    toolBar_ = std::make_shared<Toolbar>(Rect(0, 0, kWidth, kToolbarHeight));
    toolBar_->setBarStyle(Toolbar::BarStyle::BlackTranslucent);
    // The toolbar and its items belong to this sheet, so the actions may refer to it directly.
    cancelItem_ = std::make_shared<BarButtonItem>(orDefault(std::move(cancelTitle), kDefaultCancelTitle),
                                                  BarButtonItem::Style::Bordered,
                                                  [this](BarButtonItem&) { docancel(); });
    cancelItem_->setId("docancel");
    titleItem_ = std::make_shared<BarButtonItem>(std::move(sheetTitle), BarButtonItem::Style::Plain, nullptr);
    titleItem_->setWidth(kTitleItemWidth);
    doneItem_ =
        std::make_shared<BarButtonItem>(orDefault(std::move(doneTitle), kDefaultDoneTitle),
                                        BarButtonItem::Style::Done, [this](BarButtonItem&) { done(); });
    doneItem_->setId("done");
    toolBar_->setItems(
        {cancelItem_, std::make_shared<BarButtonItem>(BarButtonItem::SystemItem::FlexibleSpace), titleItem_,
         std::make_shared<BarButtonItem>(BarButtonItem::SystemItem::FlexibleSpace), doneItem_});
    addSubview(toolBar_);

    view_ = std::make_shared<View>(Rect(0, kToolbarHeight, kWidth, contentHeight));
    view_->setBackgroundColor(Color::groupTableViewBackground());
    addSubview(view_);
}

CustomActionSheet::CustomActionSheet(double height, std::string sheetTitle,
                                     std::shared_ptr<CustomActionSheetDelegate> delegate)
    : CustomActionSheet(height, std::move(sheetTitle), {}, {}, std::move(delegate)) {}

std::shared_ptr<CustomActionSheet> CustomActionSheet::create(
    double height, std::string sheetTitle, std::string cancelTitle, std::string doneTitle,
    std::shared_ptr<CustomActionSheetDelegate> delegate) {
    return std::make_shared<CustomActionSheet>(height, std::move(sheetTitle), std::move(cancelTitle),
                                               std::move(doneTitle), std::move(delegate));
}

std::shared_ptr<CustomActionSheet> CustomActionSheet::create(
    double height, std::string sheetTitle, std::shared_ptr<CustomActionSheetDelegate> delegate) {
    return std::make_shared<CustomActionSheet>(height, std::move(sheetTitle), std::move(delegate));
}

CustomActionSheet::~CustomActionSheet() = default;

std::shared_ptr<CustomActionSheetDelegate> CustomActionSheet::customDelegate() const {
    return heldDelegate_ ? heldDelegate_ : delegate_.lock();
}

void CustomActionSheet::done() {
    answer(&CustomActionSheetDelegate::done);
}

void CustomActionSheet::docancel() {
    answer(&CustomActionSheetDelegate::docancel);
}

void CustomActionSheet::answer(Notify notify) {
    // Dismissing drops the registry's hold on this sheet, which may be the last one.
    auto keepAlive = weak_from_this().lock();
    if (auto delegate = customDelegate()) {
        ((*delegate).*notify)(*this);
    }
    dismissWithClickedButtonIndex(0, true);
    heldDelegate_.reset();
}

}  // namespace zorlet
