#pragma once

#include "ui/ActionSheet.h"
#include "ui/Button.h"
#include "widgets/GenderButtonDelegate.h"

#include <memory>

namespace zorlet {

// The gender filter of list screens. Its tag is the filter (2 all, 1 male,
// 0 female) and its pictures follow the tag; a tap offers "全部", "宅男" and
// "宅女" in a sheet and reports a changed choice to the delegate.
class GenderButton : public Button, public ActionSheetDelegate {
public:
    static constexpr int kAll = 2;
    static constexpr int kMale = 1;
    static constexpr int kFemale = 0;

    GenderButton();
    explicit GenderButton(int tag);
    static std::shared_ptr<GenderButton> create(int tag = kAll) {
        return std::make_shared<GenderButton>(tag);
    }
    const char* typeName() const override { return "GenderButton"; }

    GenderButtonDelegate* delegate() const { return delegate_; }
    void setDelegate(GenderButtonDelegate* delegate) { delegate_ = delegate; }

    // The tap: shows the choice sheet in the delegate's view (nothing without a delegate).
    void selectGender();

    // ActionSheetDelegate
    void actionSheetDidDismiss(ActionSheet& sheet, int buttonIndex) override;

private:
    void showImagesForTag();

    GenderButtonDelegate* delegate_ = nullptr;
};

}  // namespace zorlet
