#pragma once

#include "ui/TableViewCell.h"

#include <memory>

namespace zorlet {

class ActivityIndicatorView;
class Label;
class TableView;

// The "more" row at the end of a paged list: idle it offers the next page,
// selected it spins until the list reloads.
class PagerCell : public TableViewCell {
public:
    static constexpr const char* kIdentifier = "PagerCellIdentifier";
    static constexpr double kHeight = 40;

    PagerCell();
    const char* typeName() const override { return "PagerCell"; }

    static std::shared_ptr<PagerCell> dequeueReusablePagerCell(TableView& table);
    void reset();
    void setSelected(bool selected, bool animated = false) override;
    void prepareForReuse() override;

    const std::string& title() const;
    bool isLoading() const;

private:
    std::shared_ptr<Label> titleLabel_;
    std::shared_ptr<ActivityIndicatorView> indicator_;
};

}  // namespace zorlet
