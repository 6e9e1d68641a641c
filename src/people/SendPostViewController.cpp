#include "people/SendPostViewController.h"

#include "model/BaseData.h"
#include "net/MessageShow.h"
#include "people/RescueUsersViewController.h"
#include "platform/Analytics.h"
#include "platform/Calendar.h"
#include "platform/UnicodeText.h"
#include "platform/WeakSelf.h"
#include "session/UserContext.h"
#include "ui/BarButtonItem.h"
#include "ui/ImageViewWebCache.h"
#include "ui/Keyboard.h"
#include "ui/NavigationController.h"
#include "ui/NotificationCenter.h"
#include "widgets/CustomActionSheet.h"

namespace zorlet {

namespace {

constexpr const char* kDateFormat = "yyyy-MM-dd";
const Color kRemainColor = Color::white(0.6);

}  // namespace

SendPostViewController::~SendPostViewController() {
    NotificationCenter::defaultCenter().removeObserver(this);
    if (focusTimer_ != 0) {
        MainLoop::main().cancel(focusTimer_);
    }
    if (afterSendTimer_ != 0) {
        MainLoop::main().cancel(afterSendTimer_);
    }
}

int SendPostViewController::remainingCharacters(const std::string& text) {
    auto remaining = static_cast<long long>(kMaxLength) -
                     static_cast<long long>(UnicodeText::chineseLength(UnicodeText::trimmed(text)));
    // Integer division rounds toward zero: one unit over still reads 0, in red.
    return static_cast<int>(remaining / 2);
}

std::shared_ptr<Button> SendPostViewController::makeChooserButton(const std::string& id,
                                                                  const std::string& stem, double x,
                                                                  void (SendPostViewController::*action)()) {
    auto button = Button::create();
    button->setId(id);
    button->setImage(ImageAsset::named(stem + "_unset"));
    button->setImage(ImageAsset::named(stem + "_set"), Selected);
    button->setFrame(Rect(x, 2, 40, 40));
    auto weak = weakSelf(this);
    button->addTarget(TouchUpInside, [weak, action](Control&) {
        if (auto self = weak.lock()) {
            ((*self).*action)();
        }
    });
    infoBar->addSubview(button);
    return button;
}

void SendPostViewController::markButton(Button& button, bool set) {
    button.setSelected(set);
}

bool SendPostViewController::isButtonSet(const Button& button) const {
    return button.isSelected();
}

void SendPostViewController::viewDidLoad() {
    setTitle(isEditingPost() ? "修改Zorlet" : "说说想出去玩什么");
    view().setId("SendPostViewController");
    view().setBackgroundColor(Color::white(0.95));
    auto weak = weakSelf(this);
    auto bind = [weak](void (SendPostViewController::*action)()) {
        return [weak, action](BarButtonItem&) {
            if (auto self = weak.lock()) {
                ((*self).*action)();
            }
        };
    };
    auto publishItem =
        std::make_shared<BarButtonItem>(isEditingPost() ? "修改" : "发布", BarButtonItem::Style::Done,
                                        bind(&SendPostViewController::sendPost));
    publishItem->setId("sendPost");
    navigationItem().setRightBarButtonItem(publishItem);
    auto closeItem = std::make_shared<BarButtonItem>("取消", BarButtonItem::Style::Bordered,
                                                     bind(&SendPostViewController::close));
    closeItem->setId("close");
    navigationItem().setLeftBarButtonItem(closeItem);

    double height = view().bounds().height();
    textView = std::make_shared<CustomTextView>(Rect(10, 10, 300, 150));
    textView->setId("textView");
    textView->setFont(Font::systemFont(14));
    textView->setPlaceholder("想去哪里玩？做什么？");
    textView->setCustomDelegate(this);
    view().addSubview(textView);
    textViewBottomAtRest_ = textView->frame().maxY();

    remainLengthLabel = std::make_shared<Label>(Rect(250, 165, 60, 16));
    remainLengthLabel->setId("remainLengthLabel");
    remainLengthLabel->setFont(Font::systemFont(12));
    remainLengthLabel->setTextAlignment(TextAlignment::Right);
    view().addSubview(remainLengthLabel);

    imageView = std::make_shared<ImageView>(Rect(10, 165, 60, 60));
    imageView->setId("imageView");
    imageView->setCornerRadius(3);
    imageView->setClipsToBounds(true);
    imageView->setHidden(true);
    view().addSubview(imageView);

    infoBar = std::make_shared<View>(Rect(0, height - kBarHeight, 320, kBarHeight));
    infoBar->setId("infoBar");
    infoBar->setAutoresizingMask(View::FlexibleTopMargin);
    infoBar->setBackgroundImage(ImageAsset::named("send_info_bar_bg"));
    view().addSubview(infoBar);
    categoryButton = makeChooserButton("categoryButton", "send_category", 10,
                                       &SendPostViewController::categoryButtonClick);
    timeButton = makeChooserButton("timeButton", "send_time", 60, &SendPostViewController::timeButtonClick);
    placeButton =
        makeChooserButton("placeButton", "send_place", 110, &SendPostViewController::placeButtonClick);
    imageButton =
        makeChooserButton("imageButton", "send_image", 160, &SendPostViewController::imageButtonClick);

    if (!isEditingPost()) {
        auto categories = BaseData::getCategories();
        categoryId = categories.empty() ? 0 : categories.front()->categoryId;
    } else {
        textView->setText(post->content);
        int index = BaseData::indexOfCategory(post->categoryId);
        if (index >= 0) {
            categoryId = post->categoryId;
            ensureCategoryPicker().selectRow(index, 0);
            markButton(*categoryButton, true);
        }
        if (!post->place.empty()) {
            place = post->place;
            markButton(*placeButton, true);
        }
        if (!post->date.empty()) {
            time = post->date;
            if (auto date = Calendar::parse(post->date, kDateFormat)) {
                ensureDatePicker().setDate(*date);
            }
            markButton(*timeButton, true);
        }
        if (!post->pic.empty()) {
            std::weak_ptr<View> weakImage = imageView;
            ImageViewWebCache::setImageWithURL(*imageView, post->pic, {}, [weakImage](const ImagePtr&) {
                if (auto shown = weakImage.lock()) {
                    shown->setHidden(false);
                }
            });
            markButton(*imageButton, true);
            pic = post->picFileName;
        }
    }
    updateRemainLength();

    // The bar under the text rides on the keyboard's edge, moving as the keyboard moves.
    NotificationCenter::defaultCenter().addObserver(
        this, Keyboard::kWillShowNotification, [this](const Notification& notification) {
            Keyboard::Info info = Keyboard::Info::from(notification);
            View::animate(info.animationDuration, animationCurveFromNumber(info.animationCurve),
                          [this, &info] { keyboardWillShow(info.frameEnd); });
        });
    NotificationCenter::defaultCenter().addObserver(
        this, Keyboard::kWillHideNotification, [this](const Notification& notification) {
            Keyboard::Info info = Keyboard::Info::from(notification);
            View::animate(info.animationDuration, animationCurveFromNumber(info.animationCurve),
                          [this] { keyboardWillHide(); });
        });

    focusTimer_ = MainLoop::main().runAfter(kFocusDelay, [weak] {
        if (auto self = weak.lock()) {
            self->focusTimer_ = 0;
            self->textView->becomeFirstResponder();
        }
    });
}

void SendPostViewController::viewWillAppear(bool) {
    Analytics::beginLogPageView(className());
}

void SendPostViewController::viewWillDisappear(bool) {
    Analytics::endLogPageView(className());
}

void SendPostViewController::updateRemainLength() {
    int remaining = remainingCharacters(textView->text());
    bool over = static_cast<long long>(UnicodeText::chineseLength(UnicodeText::trimmed(textView->text()))) >
                static_cast<long long>(kMaxLength);
    remainLengthLabel->setText(std::to_string(remaining));
    remainLengthLabel->setTextColor(over ? Color::redColor() : kRemainColor);
}

bool SendPostViewController::textViewShouldChangeText(TextView&, TextRange, const std::string&) {
    return Keyboard::shared().currentInputMode() != "emoji";
}

void SendPostViewController::textViewDidChange(TextView&) {
    updateRemainLength();
}

void SendPostViewController::keyboardWillShow(const Rect& keyboardFrame) {
    double keyboardTop = view().convertFromWindow(keyboardFrame.origin).y;
    Rect bar = infoBar->frame();
    bar.origin.y = keyboardTop - bar.height();
    infoBar->setFrame(bar);
    Rect text = textView->frame();
    text.size.height = std::max(0.0, bar.y() - 10 - text.y());
    textView->setFrame(text);
}

void SendPostViewController::keyboardWillHide() {
    Rect bar = infoBar->frame();
    bar.origin.y = view().bounds().height() - bar.height();
    infoBar->setFrame(bar);
    Rect text = textView->frame();
    text.size.height = textViewBottomAtRest_ - text.y();
    textView->setFrame(text);
}

PickerView& SendPostViewController::ensureCategoryPicker() {
    if (!categoryPicker) {
        categoryPicker = std::make_shared<PickerView>(Rect(0, 0, 320, PickerView::kDefaultHeight));
        categoryPicker->setId("categoryPicker");
        categoryPicker->setShowsSelectionIndicator(true);
        categoryPicker->setDataSource(this);
        categoryPicker->setDelegate(this);
    }
    return *categoryPicker;
}

DatePicker& SendPostViewController::ensureDatePicker() {
    if (!datePicker) {
        datePicker = std::make_shared<DatePicker>(Rect(0, 0, 320, PickerView::kDefaultHeight));
        datePicker->setId("datePicker");
        datePicker->setDatePickerMode(DatePicker::Mode::Date);
        datePicker->setMaximumDate(Calendar::timeOf(DateParts{2040, 12, 31, 23, 59, 59}));
    }
    return *datePicker;
}

int SendPostViewController::numberOfRows(PickerView&, int) {
    return static_cast<int>(BaseData::getCategories().size());
}

std::string SendPostViewController::titleForRow(PickerView&, int row, int) {
    auto categories = BaseData::getCategories();
    return row >= 0 && static_cast<std::size_t>(row) < categories.size() ? categories[row]->name
                                                                         : std::string();
}

void SendPostViewController::categoryButtonClick() {
    auto self = std::dynamic_pointer_cast<CustomActionSheetDelegate>(shared_from_this());
    auto sheet = CustomActionSheet::create(PickerView::kDefaultHeight, "Zorlet分类", self);
    sheet->setTag(kCategorySheetTag);
    sheet->setId("categorySheet");
    ensureCategoryPicker();
    sheet->view().addSubview(categoryPicker);
    sheet->showInView(&view());
}

void SendPostViewController::timeButtonClick() {
    DatePicker& picker = ensureDatePicker();
    // The range starts today each time the chooser opens.
    picker.setMinimumDate(MainLoop::main().clock().now());
    auto self = std::dynamic_pointer_cast<CustomActionSheetDelegate>(shared_from_this());
    auto sheet = CustomActionSheet::create(PickerView::kDefaultHeight, "Zorlet时间", "清空", "完成", self);
    sheet->setTag(kTimeSheetTag);
    sheet->setId("timeSheet");
    sheet->view().addSubview(datePicker);
    sheet->showInView(&view());
}

void SendPostViewController::done(CustomActionSheet& sheet) {
    if (sheet.tag() == kCategorySheetTag) {
        auto categories = BaseData::getCategories();
        int row = categoryPicker ? categoryPicker->selectedRow(0) : -1;
        if (row >= 0 && static_cast<std::size_t>(row) < categories.size()) {
            categoryId = categories[row]->categoryId;
            markButton(*categoryButton, true);
        }
    } else if (sheet.tag() == kTimeSheetTag && datePicker) {
        time = Calendar::format(datePicker->date(), kDateFormat);
        markButton(*timeButton, true);
    }
}

void SendPostViewController::docancel(CustomActionSheet& sheet) {
    if (sheet.tag() == kTimeSheetTag) {
        time.reset();
        markButton(*timeButton, false);
    }
}

void SendPostViewController::placeButtonClick() {
    auto alert = AlertView::create("输入地点", "\n\n", this, "取消", {"确定"});
    alert->setTag(kPlaceAlertTag);
    alert->setId("placeAlert");
    alert->setAlertViewStyle(AlertView::Style::PlainTextInput);
    TextField* field = alert->textFieldAtIndex(0);
    placeField = field ? std::static_pointer_cast<TextField>(field->shared_from_this()) : nullptr;
    if (placeField) {
        placeField->setId("placeField");
        placeField->setPlaceholder("输入地点");
        placeField->setBorderStyle(TextField::BorderStyle::RoundedRect);
        placeField->setClearButtonMode(TextFieldViewMode::WhileEditing);
        placeField->setText(!lastPlaceErrorInput.empty() ? lastPlaceErrorInput
                                                         : place.value_or(std::string()));
    }
    alert->show();
    if (placeField) {
        placeField->becomeFirstResponder();
    }
}

void SendPostViewController::alertViewClickedButton(AlertView& alertView, int index) {
    if (alertView.tag() == kCloseAlertTag) {
        if (index != alertView.cancelButtonIndex()) {
            doClose();
        }
        return;
    }
    if (alertView.tag() != kPlaceAlertTag || index == alertView.cancelButtonIndex()) {
        return;
    }
    TextField* field = alertView.textFieldAtIndex(0);
    place = std::string();
    std::string text = UnicodeText::trimmed(field ? field->text() : std::string());
    if (UnicodeText::chineseLength(text) <= kMaxPlaceLength) {
        lastPlaceErrorInput.clear();
        place = text;
        markButton(*placeButton, !text.empty());
    } else {
        lastPlaceErrorInput = text;
        markButton(*placeButton, false);
        MessageShow::error(kPlaceLengthMessage, &view());
    }
}

void SendPostViewController::imageButtonClick() {
    auto sheet = ActionSheet::create("上传图片", this, "", "", {"用户相册", "拍照"});
    if (!imageView->isHidden()) {
        sheet->addButtonWithTitle("清除照片");
    }
    sheet->setCancelButtonIndex(sheet->addButtonWithTitle("取消"));
    sheet->setId("imageSheet");
    sheet->showInView(&view());
}

void SendPostViewController::actionSheetClickedButton(ActionSheet& sheet, int index) {
    std::string choice = sheet.buttonTitle(index);
    if (choice == "清除照片") {
        clearPicture();
    } else if (choice == "拍照") {
        openImagePicker(
            ImagePickerController::isSourceTypeAvailable(ImagePickerController::SourceType::Camera)
                ? ImagePickerController::SourceType::Camera
                : ImagePickerController::SourceType::PhotoLibrary);
    } else if (choice == "用户相册") {
        openImagePicker(ImagePickerController::SourceType::PhotoLibrary);
    }
}

void SendPostViewController::openImagePicker(ImagePickerController::SourceType source) {
    auto picker = std::make_shared<ImagePickerController>();
    picker->setSourceType(source);
    picker->setAllowsEditing(true);
    picker->setDelegate(this);
    presentModalViewController(picker, true);
}

void SendPostViewController::imagePickerDidFinishPicking(ImagePickerController& picker, const ImagePtr&,
                                                         const ImagePtr& edited) {
    pic.clear();
    image = edited;
    showPicture(edited);
    picker.dismissModalViewController(true);
}

void SendPostViewController::imagePickerDidCancel(ImagePickerController& picker) {
    picker.dismissModalViewController(true);
}

void SendPostViewController::showPicture(const ImagePtr& picture) {
    ImageViewWebCache::cancelCurrentImageLoad(*imageView);
    imageView->setImage(picture ? ImageAsset::fromImage(picture) : nullptr);
    imageView->setHidden(!picture);
    markButton(*imageButton, picture != nullptr);
}

void SendPostViewController::clearPicture() {
    pic.clear();
    image.reset();
    showPicture(nullptr);
}

void SendPostViewController::sendPost() {
    std::string text = textView->text();
    std::size_t length = UnicodeText::chineseLength(text);
    if (length > kMaxLength || length <= kMinLength) {
        MessageShow::error(kLengthMessage, &view());
        return;
    }
    if (!postService) {
        postService = std::make_shared<PostService>();
        if (NavigationController* navigation = navigationController()) {
            postService->viewController = navigation->weak_from_this();
        }
    }
    auto weak = weakSelf(this);
    if (isEditingPost()) {
        PostPtr edited = post;
        postService->modifyPost(post->postId, text, time.value_or(""), place.value_or(""), pic, image,
                                categoryId, &view(), [weak, edited](const Json& response) {
                                    // Shared with the screens that show it, which see the change at once.
                                    edited->updateFromDictionary(jsonObject(response, "result"));
                                    auto self = weak.lock();
                                    if (!self) {
                                        return;
                                    }
                                    self->afterSendTimer_ =
                                        MainLoop::main().runAfter(kAfterSendDelay, [weak] {
                                            if (auto screen = weak.lock()) {
                                                screen->afterSendTimer_ = 0;
                                                screen->doClose();
                                            }
                                        });
                                });
        return;
    }
    bool withPic = image != nullptr;
    bool withTime = time && !time->empty();
    bool withPlace = place && !place->empty();
    postService->sendPost(
        text, time.value_or(""), place.value_or(""), "", image, categoryId, &view(),
        [weak, text, withPic, withTime, withPlace] {
            Analytics::event("sendPost", {{"uid", std::to_string(UserContext::getUid())},
                                          {"withPic", withPic ? "1" : "0"},
                                          {"withTime", withTime ? "1" : "0"},
                                          {"withPlace", withPlace ? "1" : "0"}});
            auto self = weak.lock();
            if (!self) {
                return;
            }
            self->afterSendTimer_ = MainLoop::main().runAfter(kAfterSendDelay, [weak, text] {
                auto screen = weak.lock();
                NavigationController* navigation = screen ? screen->navigationController() : nullptr;
                if (!navigation) {
                    return;
                }
                screen->afterSendTimer_ = 0;
                auto rescue = std::make_shared<RescueUsersViewController>(text);
                navigation->pushViewController(rescue, true);
            });
        });
}

void SendPostViewController::close() {
    if (!textView->text().empty()) {
        auto alert = AlertView::create("提示", "要放弃已编辑的内容么？", this, "取消", {"放弃"});
        alert->setTag(kCloseAlertTag);
        alert->setId("closeAlert");
        alert->show();
        return;
    }
    doClose();
}

void SendPostViewController::doClose() {
    Keyboard::shared().endEditing(&view());
    if (NavigationController* navigation = navigationController()) {
        navigation->popViewController(true);
    }
}

}  // namespace zorlet
