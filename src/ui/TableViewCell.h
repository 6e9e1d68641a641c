#pragma once

#include "ui/ImageView.h"
#include "ui/Label.h"
#include "ui/View.h"

#include <memory>
#include <string>

namespace zorlet {

class Button;
class TableView;

// One row of a table. Its content goes into `contentView`; the standard styles
// lay out a text label, a detail label and an image.
class TableViewCell : public View {
public:
    enum class Style { Default, Value1, Value2, Subtitle };
    enum class AccessoryType { None, DisclosureIndicator, DetailDisclosureButton, Checkmark };
    enum class SelectionStyle { None, Blue, Gray };

    explicit TableViewCell(Style style = Style::Default, std::string reuseIdentifier = {});
    const char* typeName() const override { return "TableViewCell"; }

    Style style() const { return style_; }
    const std::string& reuseIdentifier() const { return reuseIdentifier_; }

    View& contentView() { return *contentView_; }
    // Created on first use.
    Label& textLabel();
    Label& detailTextLabel();
    ImageView& imageView();

    AccessoryType accessoryType() const { return accessoryType_; }
    void setAccessoryType(AccessoryType type) {
        accessoryType_ = type;
        layoutSubviews();
    }
    void setAccessoryView(ViewPtr view);
    void setSelectionStyle(SelectionStyle style) { selectionStyle_ = style; }
    const ViewPtr& backgroundView() const { return backgroundView_; }
    void setBackgroundView(ViewPtr view);
    void setSelectedBackgroundView(ViewPtr view);

    bool isSelected() const { return selected_; }
    virtual void setSelected(bool selected, bool animated = false);
    bool isHighlighted() const { return highlighted_; }
    virtual void setHighlighted(bool highlighted, bool animated = false);
    bool isEditing() const { return editing_; }
    virtual void setEditing(bool editing, bool animated = false);
    // While editing, a tap on the red minus shows the row's delete button (id
    // "deleteConfirmation"); tapping it commits the delete, tapping elsewhere hides it.
    bool isShowingDeleteConfirmation() const { return deleteConfirmation_ != nullptr; }

    // Called when the table hands the cell out again; reset per-row state here.
    virtual void prepareForReuse();

    // The table showing this cell, if any.
    TableView* tableView() const;

    void layoutSubviews() override;
    bool handleTap(Point point) override;
    void draw(Painter& painter) const override;
    void describe(std::string& out) const override;

private:
    Style style_;
    std::string reuseIdentifier_;
    std::shared_ptr<View> contentView_;
    std::shared_ptr<Label> textLabel_;
    std::shared_ptr<Label> detailTextLabel_;
    std::shared_ptr<ImageView> imageView_;
    AccessoryType accessoryType_ = AccessoryType::None;
    ViewPtr accessoryView_;
    SelectionStyle selectionStyle_ = SelectionStyle::Blue;
    ViewPtr backgroundView_;
    ViewPtr selectedBackgroundView_;
    bool selected_ = false;
    bool highlighted_ = false;
    bool editing_ = false;
    std::shared_ptr<Button> deleteConfirmation_;

    void showDeleteConfirmation();
    void hideDeleteConfirmation();
};

using TableViewCellPtr = std::shared_ptr<TableViewCell>;

}  // namespace zorlet
