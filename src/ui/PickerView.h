#pragma once

#include "ui/View.h"

#include <string>
#include <vector>

namespace zorlet {

class PickerView;

class PickerViewDataSource {
public:
    virtual ~PickerViewDataSource() = default;
    virtual int numberOfComponents(PickerView&) = 0;
    virtual int numberOfRows(PickerView&, int component) = 0;
};

class PickerViewDelegate {
public:
    virtual ~PickerViewDelegate() = default;
    virtual std::string titleForRow(PickerView&, int row, int component) { return {}; }
    virtual void didSelectRow(PickerView&, int row, int component) {}
    virtual double widthForComponent(PickerView&, int component) { return 0; }  // 0: an equal share
};

// Spinning wheels of rows; one selected row per component.
class PickerView : public View {
public:
    static constexpr double kDefaultHeight = 216;
    static constexpr double kDefaultRowHeight = 44;

    PickerView();
    explicit PickerView(Rect frame);
    const char* typeName() const override { return "PickerView"; }

    PickerViewDataSource* dataSource() const { return dataSource_; }
    void setDataSource(PickerViewDataSource* dataSource) { dataSource_ = dataSource; }
    PickerViewDelegate* delegate() const { return delegate_; }
    void setDelegate(PickerViewDelegate* delegate) { delegate_ = delegate; }
    // The band across the wheels that marks the selected rows.
    void setShowsSelectionIndicator(bool shows) { showsSelectionIndicator_ = shows; }

    int numberOfComponents() const;
    int numberOfRows(int component) const;
    // The selected row, or -1 for a component without rows.
    int selectedRow(int component) const;
    // Programmatic selection; the delegate is not told.
    void selectRow(int row, int component, bool animated = false);
    void reloadAllComponents();
    void reloadComponent(int component);
    // A user's spin to `row`: selects it and tells the delegate.
    void pickRow(int row, int component);

    void draw(Painter& painter) const override;
    void describe(std::string& out) const override;

private:
    std::string titleFor(int row, int component) const;
    void clampSelections();

    PickerViewDataSource* dataSource_ = nullptr;
    PickerViewDelegate* delegate_ = nullptr;
    bool showsSelectionIndicator_ = false;
    std::vector<int> selected_;
};

}  // namespace zorlet
