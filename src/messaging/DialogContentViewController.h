#pragma once

#include "messaging/DialogSender.h"
#include "messaging/GrowingTextView.h"
#include "model/DialogContent.h"
#include "model/User.h"
#include "net/ListHttpRequestDelegate.h"
#include "net/ListLoadingTarget.h"
#include "net/ZLData.h"
#include "people/WholeImageViewController.h"
#include "platform/Image.h"
#include "platform/MainLoop.h"
#include "ui/Button.h"
#include "ui/GestureRecognizer.h"
#include "ui/ImagePickerController.h"
#include "ui/ImageView.h"
#include "ui/PopupPresenter.h"
#include "ui/TableView.h"
#include "ui/ViewController.h"

#include <memory>
#include <string>

namespace zorlet {

// The conversation with `targetUser`: the latest messages oldest first, new
// ones polled every 20 seconds, and sending text with an optional picture one
// message at a time. Every message sent here is kept until the server has it:
// one that failed shows the failure icon, which offers to send it again or
// delete it, also after the screen was left or the app ended.
class DialogContentViewController : public ViewController,
                                    public ListLoadingTarget,
                                    public TableViewDataSource,
                                    public TableViewDelegate,
                                    public CustomTextViewDelegate,
                                    public ImagePickerControllerDelegate,
                                    public WholeImageViewDelegate {
public:
    static constexpr Duration kRefreshInterval{20000};
    static constexpr double kInputBarHeight = 44;
    static constexpr double kPreviewShift = 40;
    static constexpr int kInputTag = 1000;
    static constexpr double kMoreButtonWidth = 45;

    ~DialogContentViewController() override;
    std::string className() const override { return "DialogContentViewController"; }

    void viewDidLoad() override;
    void viewWillAppear(bool animated) override;
    void viewWillDisappear(bool animated) override;
    void didReceiveMemoryWarning() override;

    void loadListDataWithPage(std::int64_t page);
    void refresh();
    void doneLoadingTableViewData() override;
    void sendSms();
    void imageButtonClick();
    void more();
    void uploadImageClick();
    void resetSendForm();
    void hideKeyboard();
    void report();
    void shield();

    // From a row.
    void openTargetHome();
    void showWholeImage(const DialogContentPtr& message);
    void failureIconClick(const DialogContentPtr& message);
    void resend(const DialogContentPtr& message);
    void deleteUnsent(const DialogContentPtr& message);

    // TableViewDataSource / TableViewDelegate
    int numberOfRows(TableView&, int section) override;
    TableViewCellPtr cellForRow(TableView& table, IndexPath indexPath) override;
    double heightForRow(TableView&, IndexPath indexPath) override;

    // CustomTextViewDelegate
    void textViewDidChangeHeight(TextView&, double difference) override;

    // ImagePickerControllerDelegate
    void imagePickerDidFinishPicking(ImagePickerController& picker, const ImagePtr& original,
                                     const ImagePtr& edited) override;
    void imagePickerDidCancel(ImagePickerController& picker) override;

    // WholeImageViewDelegate
    void cancelButtonClicked(WholeImageViewController&) override;

    UserPtr targetUser;
    ZLDataPtr data;
    ListHttpRequestDelegatePtr listHttpRequestDelegate;
    DialogSenderPtr dialogSender;
    TimerId timer = 0;
    ImagePtr image;
    double textViewOriginalX = 0;
    double textVieworiginalWidth = 0;
    std::shared_ptr<GestureRecognizer> singlePan;
    std::shared_ptr<GestureRecognizer> singleTap;

    std::shared_ptr<TableView> dialogContentTableView;
    std::shared_ptr<View> inputAreaView;
    std::shared_ptr<ImageView> inputAreaBgImageView;
    std::shared_ptr<GrowingTextView> textView;
    std::shared_ptr<ImageView> imageView;
    std::shared_ptr<Button> imageButton;
    std::shared_ptr<Button> sendButton;

private:
    void buildInputBar();
    void keyboardWillShow(const Rect& keyboardFrame);
    void keyboardWillHide();
    void showUnsentMessages();
    void arrived(const DialogContentPtr& message);
    void messageChanged(const DialogContentPtr& message);
    void openImagePicker(ImagePickerController::SourceType source);
    void reportOrShield(const std::string& uri, const Json& params, const std::string& doneText);
    void stopTimer();

    std::unique_ptr<PopupPresenter> popup_;
    std::shared_ptr<WholeImageViewController> wholeImage_;
    bool keyboardShown_ = false;
    // Kept messages of earlier visits join the list once, after the first page arrived.
    bool unsentShown_ = false;
};

}  // namespace zorlet
