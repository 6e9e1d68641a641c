#pragma once

#include "ui/ActionSheet.h"
#include "ui/BarButtonItem.h"
#include "widgets/CustomActionSheetDelegate.h"

#include <memory>
#include <string>

namespace zorlet {

class Toolbar;

// A sheet showing a picker (or any other content) under a toolbar with a
// cancel button, a title and a done button. The caller adds its content to
// `view()` and shows the sheet with `showInView`.
//
// The delegate is held strongly while the sheet is waiting for an answer, so
// a screen that goes away under an open sheet is still there to be told; the
// hold ends when the sheet is dismissed, so a screen keeping its sheet in a
// member forms no lasting cycle once the sheet has been answered.
class CustomActionSheet : public ActionSheet {
public:
    static constexpr double kWidth = 320;
    static constexpr double kToolbarHeight = 44;
    static constexpr double kTitleItemWidth = 220;
    static constexpr const char* kDefaultCancelTitle = "取消";
    static constexpr const char* kDefaultDoneTitle = "完成";

    // An empty cancel or done title takes the default one.
    CustomActionSheet(double height, std::string sheetTitle, std::string cancelTitle, std::string doneTitle,
                      std::shared_ptr<CustomActionSheetDelegate> delegate);
    CustomActionSheet(double height, std::string sheetTitle,
                      std::shared_ptr<CustomActionSheetDelegate> delegate);
    static std::shared_ptr<CustomActionSheet> create(double height, std::string sheetTitle,
                                                     std::string cancelTitle, std::string doneTitle,
                                                     std::shared_ptr<CustomActionSheetDelegate> delegate);
    static std::shared_ptr<CustomActionSheet> create(double height, std::string sheetTitle,
                                                     std::shared_ptr<CustomActionSheetDelegate> delegate);
    ~CustomActionSheet() override;
    const char* typeName() const override { return "CustomActionSheet"; }

    Toolbar& toolBar() const { return *toolBar_; }
    // The content area under the toolbar; the caller's picker goes here.
    View& view() const { return *view_; }
    std::shared_ptr<CustomActionSheetDelegate> customDelegate() const;

    const BarButtonItemPtr& cancelItem() const { return cancelItem_; }
    const BarButtonItemPtr& titleItem() const { return titleItem_; }
    const BarButtonItemPtr& doneItem() const { return doneItem_; }

    // The toolbar buttons' actions: tell the delegate, then dismiss with index 0.
    void done();
    void docancel();

private:
    using Notify = void (CustomActionSheetDelegate::*)(CustomActionSheet&);
    void answer(Notify notify);

    std::shared_ptr<Toolbar> toolBar_;
    ViewPtr view_;
    BarButtonItemPtr cancelItem_;
    BarButtonItemPtr titleItem_;
    BarButtonItemPtr doneItem_;
    std::shared_ptr<CustomActionSheetDelegate> heldDelegate_;
    std::weak_ptr<CustomActionSheetDelegate> delegate_;
};

}  // namespace zorlet
