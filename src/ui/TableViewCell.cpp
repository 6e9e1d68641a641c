#include "ui/TableViewCell.h"

#include "ui/Button.h"
#include "ui/Painter.h"
#include "ui/TableView.h"

namespace zorlet {

namespace {
constexpr double kAccessoryWidth = 20;
constexpr double kEditingIndent = 32;
constexpr double kDeleteButtonWidth = 64;
}  // namespace

TableViewCell::TableViewCell(Style style, std::string reuseIdentifier)
    : View(Rect(0, 0, 320, 44)), style_(style), reuseIdentifier_(std::move(reuseIdentifier)) {
    setBackgroundColor(Color::whiteColor());
    contentView_ = std::make_shared<View>(Rect(0, 0, 320, 44));
    addSubview(contentView_);
}

Label& TableViewCell::textLabel() {
    if (!textLabel_) {
        textLabel_ = std::make_shared<Label>();
        textLabel_->setFont(Font::boldSystemFont(17));
        contentView_->addSubview(textLabel_);
        layoutSubviews();
    }
    return *textLabel_;
}

Label& TableViewCell::detailTextLabel() {
    if (!detailTextLabel_) {
        detailTextLabel_ = std::make_shared<Label>();
        detailTextLabel_->setFont(Font::systemFont(style_ == Style::Subtitle ? 14 : 17));
        detailTextLabel_->setTextColor(style_ == Style::Value1 ? Color::rgb(56, 84, 135)
                                                               : Color::grayColor());
        if (style_ == Style::Value1) {
            detailTextLabel_->setTextAlignment(TextAlignment::Right);
        }
        contentView_->addSubview(detailTextLabel_);
        layoutSubviews();
    }
    return *detailTextLabel_;
}

ImageView& TableViewCell::imageView() {
    if (!imageView_) {
        imageView_ = std::make_shared<ImageView>();
        contentView_->addSubview(imageView_);
        layoutSubviews();
    }
    return *imageView_;
}

void TableViewCell::setAccessoryView(ViewPtr view) {
    if (accessoryView_) {
        accessoryView_->removeFromSuperview();
    }
    accessoryView_ = std::move(view);
    if (accessoryView_) {
        addSubview(accessoryView_);
    }
    layoutSubviews();
}

void TableViewCell::setBackgroundView(ViewPtr view) {
    if (backgroundView_) {
        backgroundView_->removeFromSuperview();
    }
    backgroundView_ = std::move(view);
    if (backgroundView_) {
        insertSubview(backgroundView_, 0);
    }
    layoutSubviews();
}

void TableViewCell::setSelectedBackgroundView(ViewPtr view) {
    if (selectedBackgroundView_) {
        selectedBackgroundView_->removeFromSuperview();
    }
    selectedBackgroundView_ = std::move(view);
    if (selectedBackgroundView_) {
        insertSubviewBelow(selectedBackgroundView_, contentView_.get());
        selectedBackgroundView_->setHidden(!(selected_ || highlighted_));
    }
    layoutSubviews();
}

void TableViewCell::setSelected(bool selected, bool animated) {
    selected_ = selected;
    bool lit = (selected_ || highlighted_) && selectionStyle_ != SelectionStyle::None;
    if (selectedBackgroundView_) {
        selectedBackgroundView_->setHidden(!lit);
    }
    if (textLabel_) {
        textLabel_->setHighlighted(lit);
    }
    if (detailTextLabel_) {
        detailTextLabel_->setHighlighted(lit);
    }
}

void TableViewCell::setHighlighted(bool highlighted, bool animated) {
    highlighted_ = highlighted;
    setSelected(selected_, animated);
}

void TableViewCell::setEditing(bool editing, bool animated) {
    if (editing_ != editing) {
        editing_ = editing;
        if (!editing) {
            hideDeleteConfirmation();
        }
        layoutSubviews();
    }
}

void TableViewCell::prepareForReuse() {
    setSelected(false);
    setHighlighted(false);
    hideDeleteConfirmation();
}

void TableViewCell::showDeleteConfirmation() {
    TableView* table = tableView();
    auto path = table ? table->indexPathForCell(this) : std::nullopt;
    if (!path || !table->dataSource() || !table->dataSource()->canEditRow(*table, *path)) {
        return;
    }
    std::string title = table->delegate()
                            ? table->delegate()->titleForDeleteConfirmationButton(*table, *path)
                            : TableViewDelegate().titleForDeleteConfirmationButton(*table, *path);
    deleteConfirmation_ = std::make_shared<Button>();
    deleteConfirmation_->setId("deleteConfirmation");
    deleteConfirmation_->setTitle(title);
    deleteConfirmation_->setTitleColor(Color::whiteColor());
    deleteConfirmation_->setTitleFont(Font::boldSystemFont(15));
    deleteConfirmation_->setBackgroundColor(Color::rgb(220, 40, 40));
    double height = std::min(frame().height() - 8, 32.0);
    deleteConfirmation_->setFrame(Rect(frame().width() - kDeleteButtonWidth - 8,
                                       (frame().height() - height) / 2, kDeleteButtonWidth, height));
    // The row is found again at the tap: rows above it may have gone meanwhile.
    deleteConfirmation_->addTarget(TouchUpInside, [this](Control&) {
        TableView* owner = tableView();
        auto row = owner ? owner->indexPathForCell(this) : std::nullopt;
        hideDeleteConfirmation();
        if (row) {
            owner->userCommitEditing(*row);
        }
    });
    addSubview(deleteConfirmation_);
}

void TableViewCell::hideDeleteConfirmation() {
    if (deleteConfirmation_) {
        auto button = std::move(deleteConfirmation_);
        button->removeFromSuperview();
    }
}

TableView* TableViewCell::tableView() const {
    for (View* v = superview(); v != nullptr; v = v->superview()) {
        if (auto* table = dynamic_cast<TableView*>(v)) {
            return table;
        }
    }
    return nullptr;
}

void TableViewCell::layoutSubviews() {
    Rect box(0, 0, frame().width(), frame().height());
    if (backgroundView_) {
        backgroundView_->setFrame(box);
    }
    if (selectedBackgroundView_) {
        selectedBackgroundView_->setFrame(box);
    }
    double left = editing_ ? kEditingIndent : 0;
    bool hasAccessory = accessoryView_ || accessoryType_ != AccessoryType::None;
    double right = box.width();
    if (accessoryView_) {
        Size size = accessoryView_->frame().size;
        accessoryView_->setFrame(
            Rect(box.width() - size.width - 10, (box.height() - size.height) / 2, size.width, size.height));
        right = accessoryView_->frame().x();
    } else if (hasAccessory) {
        right = box.width() - kAccessoryWidth - 10;
    }
    if (contentView_) {
        contentView_->setFrame(Rect(left, 0, std::max(0.0, right - left), box.height()));
    }
    double contentWidth = std::max(0.0, right - left);
    double textLeft = 10;
    if (imageView_ && imageView_->image()) {
        Size size = imageView_->image()->size();
        imageView_->setFrame(Rect(0, (box.height() - size.height) / 2, size.width, size.height));
        textLeft = size.width + 10;
    }
    double textWidth = std::max(0.0, contentWidth - textLeft - 10);
    switch (style_) {
        case Style::Default:
            if (textLabel_) {
                textLabel_->setFrame(Rect(textLeft, 0, textWidth, box.height()));
            }
            break;
        case Style::Subtitle:
            if (textLabel_) {
                textLabel_->setFrame(Rect(textLeft, 2, textWidth, box.height() * 0.55));
            }
            if (detailTextLabel_) {
                detailTextLabel_->setFrame(
                    Rect(textLeft, box.height() * 0.55, textWidth, box.height() * 0.4));
            }
            break;
        case Style::Value1:
        case Style::Value2: {
            // Without a detail the title has the whole row, so a longer one is not cut short.
            bool hasDetail = detailTextLabel_ && !detailTextLabel_->text().empty();
            if (textLabel_) {
                textLabel_->setFrame(
                    Rect(textLeft, 0, hasDetail ? textWidth * 0.45 : textWidth, box.height()));
            }
            if (detailTextLabel_) {
                detailTextLabel_->setFrame(
                    Rect(textLeft + textWidth * 0.45, 0, textWidth * 0.55, box.height()));
            }
            break;
        }
    }
}

bool TableViewCell::handleTap(Point point) {
    if (editing_) {
        if (deleteConfirmation_ && deleteConfirmation_->frame().contains(point)) {
            return View::handleTap(point);
        }
        if (deleteConfirmation_) {
            hideDeleteConfirmation();
            return true;
        }
        if (point.x < kEditingIndent) {
            showDeleteConfirmation();
            return true;
        }
    }
    if (View::handleTap(point)) {
        return true;
    }
    if (TableView* table = tableView()) {
        if (auto path = table->indexPathForCell(this)) {
            table->userSelectRow(*path);
            return true;
        }
    }
    return false;
}

void TableViewCell::draw(Painter& painter) const {
    Rect box(0, 0, frame().width(), frame().height());
    bool lit =
        (selected_ || highlighted_) && selectionStyle_ != SelectionStyle::None && !selectedBackgroundView_;
    if (lit) {
        painter.fillRect(
            box, selectionStyle_ == SelectionStyle::Gray ? Color::white(0.75) : Color::rgb(5, 140, 245));
    }
    TableView* table = tableView();
    if (table == nullptr || table->separatorStyle() != TableView::SeparatorStyle::None) {
        painter.drawLine({0, box.height() - 0.5}, {box.width(), box.height() - 0.5},
                         table != nullptr ? table->separatorColor() : Color::white(0.88));
    }
    double mid = box.height() / 2;
    double x = box.width() - 20;
    switch (accessoryType_) {
        case AccessoryType::DisclosureIndicator:
            painter.drawLine({x, mid - 5}, {x + 5, mid}, Color::white(0.5), 2);
            painter.drawLine({x + 5, mid}, {x, mid + 5}, Color::white(0.5), 2);
            break;
        case AccessoryType::DetailDisclosureButton:
            painter.fillCircle({x + 3, mid}, 10, Color::rgb(36, 112, 216));
            break;
        case AccessoryType::Checkmark:
            painter.drawLine({x - 4, mid}, {x, mid + 5}, Color::rgb(50, 79, 133), 2);
            painter.drawLine({x, mid + 5}, {x + 8, mid - 6}, Color::rgb(50, 79, 133), 2);
            break;
        case AccessoryType::None:
            break;
    }
    if (editing_) {
        painter.fillCircle({16, mid}, 10, Color::rgb(220, 40, 40));
        painter.fillRect(Rect(10, mid - 1.5, 12, 3), Color::whiteColor());
    }
}

void TableViewCell::describe(std::string& out) const {
    if (TableView* table = tableView()) {
        if (auto path = table->indexPathForCell(this)) {
            out += " row=" + std::to_string(path->section) + "." + std::to_string(path->row);
        }
    }
    if (!reuseIdentifier_.empty()) {
        out += " reuse=" + reuseIdentifier_;
    }
    if (selected_) {
        out += " selected";
    }
    if (editing_) {
        out += " editing";
    }
    if (accessoryType_ == AccessoryType::Checkmark) {
        out += " checkmark";
    }
}

}  // namespace zorlet
