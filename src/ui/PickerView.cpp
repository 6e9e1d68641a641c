#include "ui/PickerView.h"

#include "ui/Painter.h"
#include "ui/ViewTreeDump.h"

#include <algorithm>

namespace zorlet {

PickerView::PickerView() : View(Rect(0, 0, 320, kDefaultHeight)) {}

PickerView::PickerView(Rect frame) : View(Rect(frame.origin, {frame.width(), kDefaultHeight})) {}

int PickerView::numberOfComponents() const {
    auto* self = const_cast<PickerView*>(this);
    return dataSource_ != nullptr ? std::max(0, dataSource_->numberOfComponents(*self)) : 0;
}

int PickerView::numberOfRows(int component) const {
    auto* self = const_cast<PickerView*>(this);
    if (dataSource_ == nullptr || component < 0 || component >= numberOfComponents()) {
        return 0;
    }
    return std::max(0, dataSource_->numberOfRows(*self, component));
}

void PickerView::clampSelections() {
    int components = numberOfComponents();
    selected_.resize(static_cast<std::size_t>(components), 0);
    for (int c = 0; c < components; ++c) {
        int rows = numberOfRows(c);
        int& row = selected_[static_cast<std::size_t>(c)];
        row = rows == 0 ? 0 : std::clamp(row, 0, rows - 1);
    }
}

int PickerView::selectedRow(int component) const {
    if (component < 0 || component >= numberOfComponents() || numberOfRows(component) == 0) {
        return -1;
    }
    if (static_cast<std::size_t>(component) >= selected_.size()) {
        return 0;
    }
    return std::min(selected_[static_cast<std::size_t>(component)], numberOfRows(component) - 1);
}

void PickerView::selectRow(int row, int component, bool animated) {
    int components = numberOfComponents();
    if (component < 0 || component >= components) {
        return;
    }
    int rows = numberOfRows(component);
    if (rows == 0) {
        return;
    }
    selected_.resize(std::max(selected_.size(), static_cast<std::size_t>(components)), 0);
    selected_[static_cast<std::size_t>(component)] = std::clamp(row, 0, rows - 1);
}

void PickerView::reloadAllComponents() {
    clampSelections();
}

void PickerView::reloadComponent(int component) {
    clampSelections();
}

void PickerView::pickRow(int row, int component) {
    if (component < 0 || component >= numberOfComponents() || row < 0 || row >= numberOfRows(component)) {
        return;
    }
    selectRow(row, component, true);
    if (delegate_ != nullptr) {
        delegate_->didSelectRow(*this, row, component);
    }
}

std::string PickerView::titleFor(int row, int component) const {
    auto* self = const_cast<PickerView*>(this);
    return delegate_ != nullptr ? delegate_->titleForRow(*self, row, component) : std::string();
}

void PickerView::draw(Painter& painter) const {
    Rect box(0, 0, frame().width(), frame().height());
    painter.fillRect(box, Color::white(0.85));
    int components = numberOfComponents();
    if (components == 0) {
        return;
    }
    double width = (box.width() - 20) / components;
    double rowHeight = kDefaultRowHeight;
    double middle = box.height() / 2 - rowHeight / 2;
    for (int c = 0; c < components; ++c) {
        Rect wheel(10 + width * c, 0, width, box.height());
        painter.fillRect(wheel.insetBy({4, 2, 4, 2}), Color::whiteColor());
        int selected = selectedRow(c);
        for (int offset = -2; offset <= 2; ++offset) {
            int row = selected + offset;
            if (row < 0 || row >= numberOfRows(c)) {
                continue;
            }
            Rect cell(wheel.x() + 8, middle + offset * rowHeight, wheel.width() - 16, rowHeight);
            painter.drawText(cell, titleFor(row, c), Font::boldSystemFont(offset == 0 ? 20 : 17),
                             offset == 0 ? Color::blackColor() : Color::white(0.45), TextAlignment::Center);
        }
    }
    if (showsSelectionIndicator_) {
        painter.fillRect(Rect(6, middle, box.width() - 12, rowHeight), Color::rgb(150, 160, 220, 0.25));
    }
}

void PickerView::describe(std::string& out) const {
    int components = numberOfComponents();
    for (int c = 0; c < components; ++c) {
        int row = selectedRow(c);
        out += " [" + std::to_string(c) + "]=" + std::to_string(row);
        if (row >= 0) {
            out += ":" + ViewTreeDump::quoted(titleFor(row, c));
        }
    }
}

}  // namespace zorlet
