#include "messaging/DialogContentViewController.h"

#include "messaging/DialogContentListCell.h"
#include "messaging/DialogOutbox.h"
#include "net/HttpRequestSender.h"
#include "net/MessageShow.h"
#include "net/UrlUtils.h"
#include "people/TaHomeViewController.h"
#include "platform/Analytics.h"
#include "platform/Clock.h"
#include "platform/WeakSelf.h"
#include "session/UserContext.h"
#include "ui/ActionSheet.h"
#include "ui/AlertView.h"
#include "ui/AnimationCurve.h"
#include "ui/ImageAsset.h"
#include "ui/Keyboard.h"
#include "ui/NavigationController.h"
#include "ui/NotificationCenter.h"
#include "ui/PopupPresenter.h"
#include "ui/ProgressHUD.h"
#include "ui/TabBarController.h"
#include "widgets/OperationProgress.h"

#include <algorithm>
#include <chrono>

namespace zorlet {

namespace {

constexpr double kInputX = 45;
constexpr double kSendButtonWidth = 50;

double secondsSince1970() {
    return std::chrono::duration<double>(MainLoop::main().clock().now().time_since_epoch()).count();
}

}  // namespace

DialogContentViewController::~DialogContentViewController() {
    NotificationCenter::defaultCenter().removeObserver(this);
    stopTimer();
    if (textView) {
        textView->setCustomDelegate(nullptr);
    }
}

void DialogContentViewController::viewDidLoad() {
    Analytics::event("enterDialogContent");
    view().setId("DialogContentViewController");
    auto weak = weakSelf(this);
    singlePan = GestureRecognizer::pan([weak](GestureRecognizer&) {
        if (auto self = weak.lock()) {
            self->hideKeyboard();
        }
    });
    singleTap = GestureRecognizer::tap([weak](GestureRecognizer&) {
        if (auto self = weak.lock()) {
            self->hideKeyboard();
        }
    });
    data = std::make_shared<ZLData>();
    listHttpRequestDelegate = std::make_shared<ListHttpRequestDelegate>();
    listHttpRequestDelegate->zlData = data;
    listHttpRequestDelegate->viewClassName = DialogContent::kRecordClassName;
    listHttpRequestDelegate->listViewController =
        std::dynamic_pointer_cast<ListLoadingTarget>(shared_from_this());
    listHttpRequestDelegate->addToHead = true;

    setTitle("与 " + (targetUser ? targetUser->nickname : std::string()) + " 对话");
    auto moreButton = Button::create();
    moreButton->setId("moreButton");
    moreButton->setTitle("更多");
    moreButton->setBackgroundImage(ImageAsset::named("rect_btn"));
    moreButton->setFrame(Rect(0, 0, kMoreButtonWidth, 30));
    moreButton->addTarget(TouchUpInside, [weak](Control&) {
        if (auto self = weak.lock()) {
            self->more();
        }
    });
    navigationItem().setRightBarButtonItem(std::make_shared<BarButtonItem>(moreButton));

    view().setBackgroundImage(ImageAsset::named("app_bg"));
    Rect bounds = view().bounds();
    dialogContentTableView = std::make_shared<TableView>(
        Rect(0, 0, bounds.width(), bounds.height() - kInputBarHeight), TableView::Style::Plain);
    dialogContentTableView->setId("dialogContentTableView");
    dialogContentTableView->setAutoresizingMask(View::FlexibleSize);
    dialogContentTableView->setBackgroundColor(Color::clearColor());
    dialogContentTableView->setSeparatorStyle(TableView::SeparatorStyle::None);
    dialogContentTableView->setDataSource(this);
    dialogContentTableView->setDelegate(this);
    view().addSubview(dialogContentTableView);
    buildInputBar();

    dialogSender = std::make_shared<DialogSender>(DialogOutbox::shared());
    dialogSender->onStatusChange = [weak](const DialogContentPtr& message) {
        if (auto self = weak.lock()) {
            self->messageChanged(message);
        }
    };
    dialogSender->onError = [](const std::string& text) { MessageShow::error(text, nullptr); };

    loadListDataWithPage(1);
    timer = MainLoop::main().runEvery(kRefreshInterval, [weak] {
        if (auto self = weak.lock()) {
            self->refresh();
        }
    });
}

void DialogContentViewController::buildInputBar() {
    Rect bounds = view().bounds();
    inputAreaView =
        std::make_shared<View>(Rect(0, bounds.height() - kInputBarHeight, bounds.width(), kInputBarHeight));
    inputAreaView->setId("inputAreaView");
    // The screen's view is sized by its container later: the bar stays at its bottom.
    inputAreaView->setAutoresizingMask(View::FlexibleWidth | View::FlexibleTopMargin);
    view().addSubview(inputAreaView);

    inputAreaBgImageView = std::make_shared<ImageView>(inputAreaView->bounds());
    inputAreaBgImageView->setId("inputAreaBgImageView");
    inputAreaBgImageView->setImage(ImageAsset::named("dialog_input_bg"));
    inputAreaView->addSubview(inputAreaBgImageView);

    auto weak = weakSelf(this);
    imageButton = Button::create();
    imageButton->setId("imageButton");
    imageButton->setImage(ImageAsset::named("dialog_image_btn"));
    imageButton->setFrame(Rect(5, 7, 34, 30));
    imageButton->addTarget(TouchUpInside, [weak](Control&) {
        if (auto self = weak.lock()) {
            self->imageButtonClick();
        }
    });
    inputAreaView->addSubview(imageButton);

    imageView = std::make_shared<ImageView>(Rect(kInputX, 7, 34, 30));
    imageView->setId("imageView");
    imageView->setHidden(true);
    imageView->addGestureRecognizer(GestureRecognizer::tap([weak](GestureRecognizer&) {
        if (auto self = weak.lock()) {
            self->uploadImageClick();
        }
    }));
    inputAreaView->addSubview(imageView);

    double inputWidth = bounds.width() - kInputX - kSendButtonWidth - 10;
    textView = std::make_shared<GrowingTextView>(Rect(kInputX, 5, inputWidth, 34));
    textView->setId("textView");
    textView->setTag(kInputTag);
    textView->setFont(Font::systemFont(15));
    textView->setCustomDelegate(this);
    inputAreaView->addSubview(textView);
    textView->setMinNumberOfLines(1);
    textView->setMaxNumberOfLines(3);
    textViewOriginalX = textView->frame().x();
    textVieworiginalWidth = textView->frame().width();

    // The bar fits the input at its resting height.
    double barHeight = textView->frame().height() + 10;
    Rect bar = inputAreaView->frame();
    inputAreaView->setFrame(Rect(bar.x(), bounds.height() - barHeight, bar.width(), barHeight));
    inputAreaBgImageView->setFrame(inputAreaView->bounds());
    Rect list = dialogContentTableView->frame();
    dialogContentTableView->setFrame(Rect(list.x(), 0, list.width(), bounds.height() - barHeight));

    sendButton = Button::create();
    sendButton->setId("sendButton");
    sendButton->setTitle("发送");
    sendButton->setBackgroundImage(ImageAsset::named("rect_btn"));
    sendButton->setFrame(Rect(bounds.width() - kSendButtonWidth - 5, 7, kSendButtonWidth, 30));
    sendButton->setAutoresizingMask(View::FlexibleTopMargin);
    sendButton->addTarget(TouchUpInside, [weak](Control&) {
        if (auto self = weak.lock()) {
            self->sendSms();
        }
    });
    inputAreaView->addSubview(sendButton);
}

void DialogContentViewController::viewWillAppear(bool) {
    Analytics::beginLogPageView(className());
    auto& center = NotificationCenter::defaultCenter();
    center.removeObserver(this);
    // The bar and the list move in one animation with the keyboard's own duration and curve.
    center.addObserver(this, Keyboard::kWillShowNotification, [this](const Notification& notification) {
        Keyboard::Info info = Keyboard::Info::from(notification);
        View::animate(info.animationDuration, animationCurveFromNumber(info.animationCurve),
                      [this, &info] { keyboardWillShow(info.frameEnd); });
    });
    center.addObserver(this, Keyboard::kWillHideNotification, [this](const Notification& notification) {
        Keyboard::Info info = Keyboard::Info::from(notification);
        View::animate(info.animationDuration, animationCurveFromNumber(info.animationCurve),
                      [this] { keyboardWillHide(); });
    });
}

void DialogContentViewController::viewWillDisappear(bool) {
    Analytics::endLogPageView(className());
    stopTimer();
}

void DialogContentViewController::stopTimer() {
    if (timer != 0) {
        MainLoop::main().cancel(timer);
        timer = 0;
    }
}

void DialogContentViewController::didReceiveMemoryWarning() {
    image.reset();
    // Everything in flight stops and waits, failed and kept, to be sent again;
    // what the user sends next goes out as usual.
    if (dialogSender) {
        dialogSender->cancelAll();
    }
}

void DialogContentViewController::loadListDataWithPage(std::int64_t page) {
    View* host = navigationController() ? &navigationController()->view() : &view();
    auto hud = ProgressHUD::showHUDAddedTo(host, true);
    hud->setId("progressHUD");
    hud->setLabelText("加载中...");
    auto request = HttpRequestSender::getRequestWithUrl(
        UrlUtils::urlStringWithUri("dialog/dialogContentList"),
        {{"uid", targetUser ? targetUser->uid : 0}, {"page", page <= 0 ? 1 : page}});
    if (!request) {
        hud->hide(true);
        return;
    }
    request->setDelegate(std::static_pointer_cast<HttpRequestObserver>(listHttpRequestDelegate));
    request->startAsynchronous();
}

void DialogContentViewController::refresh() {
    auto request = HttpRequestSender::backgroundGetRequestWithUrl(
        UrlUtils::urlStringWithUri("dialog/refreshDialogContent"),
        {{"uid", targetUser ? targetUser->uid : 0}});
    if (!request) {
        return;
    }
    auto weak = weakSelf(this);
    request->setCompletionBlock([weak](HttpRequest& finished) {
        auto self = weak.lock();
        auto envelope = parseJson(finished.responseString());
        if (!self || !envelope || !HttpRequestSender::isSuccess(*envelope)) {
            return;
        }
        for (const auto& element : jsonArray(jsonObject(*envelope, "result"), "list")) {
            self->arrived(DialogContent::convertFromDictionary(element));
        }
        self->doneLoadingTableViewData();
    });
    request->startAsynchronous();
}

void DialogContentViewController::doneLoadingTableViewData() {
    if (NavigationController* navigation = navigationController()) {
        ProgressHUD::hideHUDForView(&navigation->view(), true);
    }
    ProgressHUD::hideHUDForView(&view(), true);
    if (!unsentShown_) {
        unsentShown_ = true;
        showUnsentMessages();
    }
    dialogContentTableView->reloadData();
    if (data->count() > 0) {
        dialogContentTableView->scrollToRow(IndexPath{0, static_cast<int>(data->count()) - 1},
                                            TableViewScrollPosition::Bottom, false);
    }
}

// A polled message that this screen shows as its own (same client id) is not
// shown twice: for a failed one the server's copy is proof of delivery, so the
// row turns sent where it stands and the outbox forgets it; one still on its
// way is registered, so that neither its acceptance nor a later poll adds a row.
void DialogContentViewController::arrived(const DialogContentPtr& message) {
    const auto& rows = data->data();
    auto local = rows.end();
    if (!message->clientMsgId.empty()) {
        local = std::find_if(rows.begin(), rows.end(), [&message](const RecordPtr& row) {
            const auto& shown = static_cast<const DialogContent&>(*row);
            return shown.sendStatus != DialogContent::Loaded && shown.clientMsgId == message->clientMsgId;
        });
    }
    if (local == rows.end()) {
        data->addObject(message, message->dialogContentId);
        return;
    }
    data->addIdentity(message->dialogContentId);
    auto shown = std::static_pointer_cast<DialogContent>(*local);
    if (shown->sendStatus == DialogContent::Failure) {
        dialogSender->discard(shown);
        shown->dialogContentId = message->dialogContentId;
        shown->imgUrl = message->imgUrl;
        shown->bigImgUrl = message->bigImgUrl;
        shown->originalImgUrl = message->originalImgUrl;
        shown->createTime = message->createTime;
        shown->sendStatus = DialogContent::Sent;
    }
}

// Messages kept from earlier visits follow the server's, in the failure state,
// unless the server turns out to have them already.
void DialogContentViewController::showUnsentMessages() {
    auto outbox = dialogSender ? dialogSender->outbox() : nullptr;
    if (!outbox || !targetUser) {
        return;
    }
    std::vector<DialogContentPtr> fromServer;
    for (const auto& record : data->data()) {
        fromServer.push_back(std::static_pointer_cast<DialogContent>(record));
    }
    DialogSender::forgetDelivered(*outbox, fromServer);
    for (const auto& message :
         DialogSender::unsentMessages(*outbox, UserContext::getUid(), targetUser->uid)) {
        bool shown = std::any_of(
            fromServer.begin(), fromServer.end(),
            [&message](const DialogContentPtr& each) { return each->clientMsgId == message->clientMsgId; });
        if (!shown) {
            data->addObject(message);
        }
    }
}

void DialogContentViewController::sendSms() {
    auto message = std::make_shared<DialogContent>();
    message->content = textView->text();
    message->senderUid = UserContext::getUid();
    message->receiverUid = targetUser ? targetUser->uid : 0;
    message->createTime = secondsSince1970();
    message->image = image;
    message->hasImg = image != nullptr;
    message->sendStatus = DialogContent::Waiting;
    hideKeyboard();
    if (!dialogSender->send(message)) {
        return;
    }
    data->addObject(message);
    doneLoadingTableViewData();
    textView->setText("");
    resetSendForm();
}

void DialogContentViewController::messageChanged(const DialogContentPtr& message) {
    if (message->sendStatus == DialogContent::Sent) {
        data->addIdentity(message->dialogContentId);
    }
    dialogContentTableView->reloadData();
}

void DialogContentViewController::failureIconClick(const DialogContentPtr& message) {
    auto weak = weakSelf(this);
    auto sheet = ActionSheet::create("这条消息没有发出去", nullptr, "取消", "", {"重新发送", "删除消息"});
    sheet->setId("failureSheet");
    sheet->setOnDismiss([weak, message](int index) {
        auto self = weak.lock();
        if (!self) {
            return;
        }
        if (index == 0) {
            self->resend(message);
        } else if (index == 1) {
            auto confirm =
                AlertView::create("确定删除这条消息吗？", "删除后将无法发送", nullptr, "取消", {"删除"});
            confirm->setId("deleteUnsentAlert");
            confirm->setOnDismiss([weak, message](int answer) {
                auto screen = weak.lock();
                if (screen && answer == 1) {
                    screen->deleteUnsent(message);
                }
            });
            confirm->show();
        }
    });
    sheet->showInView(&view());
}

void DialogContentViewController::resend(const DialogContentPtr& message) {
    if (message->sendStatus == DialogContent::Failure) {
        dialogSender->resend(message);
    }
}

void DialogContentViewController::deleteUnsent(const DialogContentPtr& message) {
    if (message->sendStatus != DialogContent::Failure) {
        return;
    }
    dialogSender->discard(message);
    const auto& rows = data->data();
    auto found = std::find(rows.begin(), rows.end(), std::static_pointer_cast<Record>(message));
    if (found != rows.end()) {
        data->removeObjectAtIndex(static_cast<std::size_t>(found - rows.begin()));
    }
    dialogContentTableView->reloadData();
}

void DialogContentViewController::imageButtonClick() {
    auto weak = weakSelf(this);
    auto sheet = ActionSheet::create("上传图片", nullptr, "取消", "", {"用户相册", "拍照"});
    sheet->setId("imageSheet");
    sheet->setOnDismiss([weak](int index) {
        auto self = weak.lock();
        if (!self) {
            return;
        }
        if (index == 0) {
            self->openImagePicker(ImagePickerController::SourceType::PhotoLibrary);
        } else if (index == 1) {
            self->openImagePicker(
                ImagePickerController::isSourceTypeAvailable(ImagePickerController::SourceType::Camera)
                    ? ImagePickerController::SourceType::Camera
                    : ImagePickerController::SourceType::PhotoLibrary);
        } else {
            self->textView->becomeFirstResponder();
        }
    });
    sheet->showInView(&view());
}

void DialogContentViewController::openImagePicker(ImagePickerController::SourceType source) {
    auto picker = std::make_shared<ImagePickerController>();
    picker->setSourceType(source);
    picker->setAllowsEditing(true);
    picker->setDelegate(this);
    presentModalViewController(picker, true);
}

void DialogContentViewController::imagePickerDidFinishPicking(ImagePickerController& picker, const ImagePtr&,
                                                              const ImagePtr& edited) {
    image = edited;
    imageView->setImage(edited ? ImageAsset::fromImage(edited) : nullptr);
    imageView->setHidden(!edited);
    Rect frame = textView->frame();
    textView->setFrame(Rect(textViewOriginalX + kPreviewShift, frame.y(),
                            textVieworiginalWidth - kPreviewShift, frame.height()));
    picker.dismissModalViewController(true);
}

void DialogContentViewController::imagePickerDidCancel(ImagePickerController& picker) {
    picker.dismissModalViewController(true);
}

void DialogContentViewController::uploadImageClick() {
    auto weak = weakSelf(this);
    auto alert = AlertView::create("确定删除吗？", "", nullptr, "取消", {"删除"});
    alert->setId("removePictureAlert");
    alert->setOnDismiss([weak](int index) {
        auto self = weak.lock();
        if (self && index == 1) {
            self->resetSendForm();
        }
    });
    alert->show();
}

void DialogContentViewController::resetSendForm() {
    image.reset();
    imageView->setImage(nullptr);
    imageView->setHidden(true);
    Rect frame = textView->frame();
    textView->setFrame(Rect(textViewOriginalX, frame.y(), textVieworiginalWidth, frame.height()));
}

void DialogContentViewController::hideKeyboard() {
    textView->resignFirstResponder();
}

void DialogContentViewController::more() {
    auto weak = weakSelf(this);
    auto sheet = ActionSheet::create("更多", nullptr, "取消", "", {"举报ta", "屏蔽ta"});
    sheet->setId("moreSheet");
    sheet->setOnDismiss([weak](int index) {
        auto self = weak.lock();
        if (!self) {
            return;
        }
        if (index == 0) {
            self->report();
        } else if (index == 1) {
            auto confirm = AlertView::create(
                "确定要把" + (self->targetUser ? self->targetUser->nickname : std::string()) +
                    "加入黑名单么？",
                "", nullptr, "返回", {"确定"});
            confirm->setId("shieldAlert");
            confirm->setOnDismiss([weak](int answer) {
                auto screen = weak.lock();
                if (screen && answer == 1) {
                    screen->shield();
                }
            });
            confirm->show();
        } else {
            self->textView->becomeFirstResponder();
        }
    });
    TabBarController* tabs = tabBarController();
    sheet->showInView(tabs ? &tabs->view() : &view());
}

void DialogContentViewController::report() {
    auto uid = targetUser ? targetUser->uid : 0;
    reportOrShield("home/v133/report/save",
                   {{"reportUid", uid}, {"reportType", 0}, {"contentType", 3}, {"contentId", uid}},
                   "感谢举报，我们核实后会尽快处理");
}

void DialogContentViewController::shield() {
    reportOrShield("home/v133/blacklist/shield", {{"shieldUid", targetUser ? targetUser->uid : 0}},
                   "屏蔽成功");
}

void DialogContentViewController::reportOrShield(const std::string& uri, const Json& params,
                                                 const std::string& doneText) {
    View* host = navigationController() ? &navigationController()->view() : &view();
    auto hud = OperationProgress::show(host, "操作中...");
    auto request = HttpRequestSender::postRequestWithUrl(UrlUtils::urlStringWithUri(uri), params);
    if (!request) {
        OperationProgress::hide(hud);
        return;
    }
    std::weak_ptr<ProgressHUD> weakHud = hud;
    HttpRequestSender::doRequest(request, host, [weakHud, doneText](const Json&) {
        if (auto shown = weakHud.lock()) {
            OperationProgress::succeed(*shown, doneText);
        }
    });
}

void DialogContentViewController::openTargetHome() {
    NavigationController* navigation = navigationController();
    if (!navigation || !targetUser) {
        return;
    }
    auto home = std::make_shared<TaHomeViewController>();
    home->user = targetUser;
    home->setHidesBottomBarWhenPushed(true);
    navigation->pushViewController(home, true);
}

void DialogContentViewController::showWholeImage(const DialogContentPtr& message) {
    hideKeyboard();
    wholeImage_ = std::make_shared<WholeImageViewController>();
    wholeImage_->image = message->image;
    wholeImage_->imageUrl = message->originalImgUrl;
    wholeImage_->delegate = this;
    popup_ = std::make_unique<PopupPresenter>();
    popup_->presentPopupView(wholeImage_->viewPtr(), true);
}

void DialogContentViewController::cancelButtonClicked(WholeImageViewController&) {
    if (popup_) {
        popup_->dismissPopup(true);
    }
    // The popup's own tap is still running: let it finish before it goes.
    auto finished = std::move(wholeImage_);
    MainLoop::main().post([finished] {});
}

int DialogContentViewController::numberOfRows(TableView&, int) {
    return data ? static_cast<int>(data->count()) : 0;
}

TableViewCellPtr DialogContentViewController::cellForRow(TableView& table, IndexPath indexPath) {
    auto cell = std::dynamic_pointer_cast<DialogContentListCell>(
        table.dequeueReusableCell(DialogContentListCell::kIdentifier));
    if (!cell) {
        cell = DialogContentListCell::cellFromNib();
    }
    cell->ownerViewController = std::static_pointer_cast<DialogContentViewController>(shared_from_this());
    cell->targetUser = targetUser;
    cell->redrawn(std::static_pointer_cast<DialogContent>(
        data->objectAtIndex(static_cast<std::size_t>(indexPath.row))));
    return cell;
}

double DialogContentViewController::heightForRow(TableView&, IndexPath indexPath) {
    return DialogContentListCell::heightForCell(
        static_cast<const DialogContent&>(*data->objectAtIndex(static_cast<std::size_t>(indexPath.row))));
}

void DialogContentViewController::keyboardWillShow(const Rect& keyboardFrame) {
    double keyboardHeight = keyboardFrame.height();
    Rect bar = inputAreaView->frame();
    double barY = view().bounds().height() - (bar.height() + keyboardHeight);
    inputAreaView->setFrame(Rect(bar.x(), barY, bar.width(), bar.height()));
    TableView& list = *dialogContentTableView;
    Rect listFrame = list.frame();
    double atEnd = list.contentSize().height - listFrame.height();
    if (list.contentOffset().y == atEnd) {
        list.setFrame(Rect(listFrame.x(), -keyboardHeight, listFrame.width(), listFrame.height()));
    } else if (list.contentSize().height < listFrame.height()) {
        list.setFrame(Rect(listFrame.x(), listFrame.y(), listFrame.width(), barY));
        doneLoadingTableViewData();
    }
    if (!keyboardShown_) {
        list.addGestureRecognizer(singlePan);
        list.addGestureRecognizer(singleTap);
        keyboardShown_ = true;
    }
}

void DialogContentViewController::keyboardWillHide() {
    Rect bar = inputAreaView->frame();
    double barY = view().bounds().height() - bar.height();
    inputAreaView->setFrame(Rect(bar.x(), barY, bar.width(), bar.height()));
    Rect listFrame = dialogContentTableView->frame();
    dialogContentTableView->setFrame(Rect(listFrame.x(), 0, listFrame.width(), barY));
    if (keyboardShown_) {
        dialogContentTableView->removeGestureRecognizer(singlePan.get());
        dialogContentTableView->removeGestureRecognizer(singleTap.get());
        keyboardShown_ = false;
    }
}

void DialogContentViewController::textViewDidChangeHeight(TextView&, double difference) {
    Rect bar = inputAreaView->frame();
    inputAreaView->setFrame(Rect(bar.x(), bar.y() - difference, bar.width(), bar.height() + difference));
    inputAreaBgImageView->setFrame(inputAreaView->bounds());
}

}  // namespace zorlet
