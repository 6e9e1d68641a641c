#pragma once

#include "ui/Control.h"

#include <string>
#include <vector>

namespace zorlet {

// Segments with titles side by side; choosing one sends ValueChanged.
class SegmentedControl : public Control {
public:
    static constexpr int kNoSegment = -1;

    explicit SegmentedControl(std::vector<std::string> items = {});
    const char* typeName() const override { return "SegmentedControl"; }

    const std::vector<std::string>& items() const { return items_; }
    std::size_t numberOfSegments() const { return items_.size(); }
    void setTitle(std::string title, std::size_t segment);
    int selectedSegmentIndex() const { return selected_; }
    void setSelectedSegmentIndex(int index);

    // A user's choice: selects and sends ValueChanged.
    void chooseSegment(int index);

    void draw(Painter& painter) const override;
    void describe(std::string& out) const override;

protected:
    void tapped(Point point) override;

private:
    std::vector<std::string> items_;
    int selected_ = kNoSegment;
};

}  // namespace zorlet
