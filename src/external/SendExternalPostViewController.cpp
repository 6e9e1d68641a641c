#include "external/SendExternalPostViewController.h"

#include "external/ExternalPostContent.h"
#include "net/MessageShow.h"
#include "people/RescueUsersViewController.h"
#include "platform/Analytics.h"
#include "platform/Calendar.h"
#include "platform/TextLayout.h"
#include "platform/UnicodeText.h"
#include "platform/WeakSelf.h"
#include "ui/Application.h"
#include "ui/BarButtonItem.h"
#include "ui/GestureRecognizer.h"
#include "ui/ImageAsset.h"
#include "ui/ImageViewWebCache.h"
#include "ui/Keyboard.h"
#include "ui/NavigationController.h"
#include "ui/PickerView.h"
#include "ui/ProgressHUD.h"
#include "ui/Window.h"
#include "widgets/CustomActionSheet.h"
#include "widgets/OperationProgress.h"

#include <algorithm>

namespace zorlet {

namespace {

constexpr const char* kDateFormat = "yyyy-MM-dd";
constexpr const char* kPlaceholder = "idea_list_pic_loading";
constexpr double kInfoLeft = 10;
constexpr double kInfoWidth = 300;
constexpr double kTimeHeight = 44;

Font placeFont() {
    return Font::systemFont(14);
}

}  // namespace

SendExternalPostViewController::~SendExternalPostViewController() {
    if (afterSendTimer_ != 0) {
        MainLoop::main().cancel(afterSendTimer_);
    }
    if (photoImageView) {
        ImageViewWebCache::cancelCurrentImageLoad(*photoImageView);
    }
    OperationProgress::hide(photoHud_);
}

void SendExternalPostViewController::viewDidLoad() {
    setTitle(kTitle);
    view().setId("SendExternalPostViewController");
    view().setBackgroundColor(Color::white(0.95));
    auto weak = weakSelf(this);
    auto bind = [weak](void (SendExternalPostViewController::*action)()) {
        return [weak, action](BarButtonItem&) {
            if (auto self = weak.lock()) {
                ((*self).*action)();
            }
        };
    };
    auto publishItem = std::make_shared<BarButtonItem>(
        "发布", BarButtonItem::Style::Done, bind(&SendExternalPostViewController::sendExternalPost));
    publishItem->setId("sendExternalPost");
    navigationItem().setRightBarButtonItem(publishItem);
    auto closeItem = std::make_shared<BarButtonItem>("取消", BarButtonItem::Style::Bordered,
                                                     bind(&SendExternalPostViewController::close));
    closeItem->setId("close");
    navigationItem().setLeftBarButtonItem(closeItem);

    std::string name = externalPost ? externalPost->name : std::string();
    contentLabel1 = std::make_shared<Label>(Rect(kInfoLeft, 10, 220, 60));
    contentLabel1->setId("contentLabel1");
    contentLabel1->setFont(Font::boldSystemFont(15));
    contentLabel1->setNumberOfLines(3);
    contentLabel1->setLineBreakMode(LineBreakMode::TailTruncation);
    contentLabel1->setText("我想找伴去：" + name);
    view().addSubview(contentLabel1);

    photoImageView = std::make_shared<ImageView>(Rect(240, 10, 70, 70));
    photoImageView->setId("photoImageView");
    photoImageView->setClipsToBounds(true);
    view().addSubview(photoImageView);

    textView = std::make_shared<CustomTextView>(Rect(kInfoLeft, 88, kInfoWidth, 70));
    textView->setId("textView");
    textView->setBackgroundImage(ImageAsset::named("send_input_bgxy"));
    textView->setFont(Font::systemFont(14));
    textView->setTextColor(Color::white(0.6));
    textView->setPlaceholder("再说两句吧...");
    textView->setCustomDelegate(this);
    view().addSubview(textView);

    basicInfoBgView = std::make_shared<ImageView>(ImageAsset::named("idea_list_bg.png"));
    basicInfoBgView->setId("basicInfoBgView");
    basicInfoBgView->setFrame(Rect(kInfoLeft, 168, kInfoWidth, 88));
    view().addSubview(basicInfoBgView);

    placeInfoView = std::make_shared<View>(Rect(kInfoLeft, 168, kInfoWidth, 44));
    placeInfoView->setId("placeInfoView");
    view().addSubview(placeInfoView);
    placeIconView = std::make_shared<ImageView>(ImageAsset::named("send_place_set"));
    placeIconView->setId("placeIconView");
    placeIconView->setFrame(Rect(8, 11, 22, 22));
    placeInfoView->addSubview(placeIconView);
    placeLabel = std::make_shared<Label>(Rect(38, 11, 254, 22));
    placeLabel->setId("placeLabel");
    placeLabel->setFont(placeFont());
    placeLabel->setNumberOfLines(0);
    placeLabel->setLineBreakMode(LineBreakMode::CharacterWrap);
    placeLabel->setText(externalPost ? externalPost->address : std::string());
    placeInfoView->addSubview(placeLabel);
    placeLine = std::make_shared<View>(Rect(0, 43, kInfoWidth, 1));
    placeLine->setId("placeLine");
    placeLine->setBackgroundColor(Color::white(0.85));
    placeInfoView->addSubview(placeLine);

    timeInfoView = std::make_shared<View>(Rect(kInfoLeft, 212, kInfoWidth, kTimeHeight));
    timeInfoView->setId("timeInfoView");
    view().addSubview(timeInfoView);
    timeIconView = std::make_shared<ImageView>(ImageAsset::named("send_time_set"));
    timeIconView->setId("timeIconView");
    timeIconView->setFrame(Rect(8, 11, 22, 22));
    timeInfoView->addSubview(timeIconView);
    timeLabel = std::make_shared<Label>(Rect(38, 11, 254, 22));
    timeLabel->setId("timeLabel");
    timeLabel->setFont(placeFont());
    timeLabel->setText(kNoDayText);
    timeLabel->setTextAlignment(TextAlignment::Right);
    timeInfoView->addSubview(timeLabel);
    timeInfoView->addGestureRecognizer(GestureRecognizer::tap([weak](GestureRecognizer&) {
        if (auto self = weak.lock()) {
            self->openDate();
        }
    }));

    bigButton = Button::create();
    bigButton->setId("bigButton");
    bigButton->setBackgroundImage(ImageAsset::named("big_btn"));
    bigButton->setTitle("发布Zorlet 找伴同去");
    bigButton->setTitleFont(Font::boldSystemFont(16));
    bigButton->setFrame(Rect(20, 276, 280, 40));
    bigButton->addTarget(TouchUpInside, [weak](Control&) {
        if (auto self = weak.lock()) {
            self->sendExternalPost();
        }
    });
    view().addSubview(bigButton);

    // Taps that nothing else takes end the typing.
    view().addGestureRecognizer(GestureRecognizer::tap([weak](GestureRecognizer&) {
        if (auto self = weak.lock()) {
            self->backgroundTap();
        }
    }));

    loadPhoto();
    layoutInfo();
}

void SendExternalPostViewController::viewWillAppear(bool) {
    Analytics::beginLogPageView(className());
}

void SendExternalPostViewController::viewWillDisappear(bool) {
    Analytics::endLogPageView(className());
}

void SendExternalPostViewController::loadPhoto() {
    ImageViewWebCache::cancelCurrentImageLoad(*photoImageView);
    photoImageView->setTag(0);
    if (!externalPost || externalPost->photoUrl.empty()) {
        photoImageView->setImage(ImageAsset::named(kPlaceholder));
        return;
    }
    photoHud_ = OperationProgress::show(Application::shared().keyWindow(), "加载图片");
    auto weak = weakSelf(this);
    ImageViewWebCache::setImageWithURL(
        *photoImageView, externalPost->photoUrl, kPlaceholder,
        [weak](const ImagePtr& image) {
            auto self = weak.lock();
            if (!self) {
                return;
            }
            if (image) {
                self->photoImageView->setTag(1);
            }
            if (self->photoHud_) {
                self->photoHud_->hide(true);
                self->photoHud_.reset();
            }
        },
        [weak](const std::string&) {
            // Without its photo the place is still shared, so the screen must not stay covered.
            auto self = weak.lock();
            if (self && self->photoHud_) {
                self->photoHud_->hide(true);
                self->photoHud_.reset();
            }
        });
}

void SendExternalPostViewController::layoutInfo() {
    Rect label = placeLabel->frame();
    double height =
        std::min(kMaxPlaceHeight, TextLayout::shared()
                                      .measure(placeLabel->text(), placeLabel->font(), label.width(),
                                               kMaxPlaceHeight, LineBreakMode::CharacterWrap)
                                      .height);
    label.size.height = height;
    placeLabel->setFrame(label);

    Rect place = placeInfoView->frame();
    place.size.height = height + 22;
    placeInfoView->setFrame(place);
    Rect line = placeLine->frame();
    line.origin.y = place.height();
    placeLine->setFrame(line);

    Rect timeBlock = timeInfoView->frame();
    timeBlock.origin.y = place.maxY();
    timeInfoView->setFrame(timeBlock);

    Rect background = basicInfoBgView->frame();
    background.size.height = place.height() + timeBlock.height();
    basicInfoBgView->setFrame(background);

    Rect button = bigButton->frame();
    button.origin.y = background.maxY() + 20;
    bigButton->setFrame(button);
}

DatePicker& SendExternalPostViewController::ensureDatePicker() {
    if (!datePicker) {
        datePicker = std::make_shared<DatePicker>(Rect(0, 0, 320, PickerView::kDefaultHeight));
        datePicker->setId("datePicker");
        datePicker->setDatePickerMode(DatePicker::Mode::Date);
        datePicker->setMinimumDate(MainLoop::main().clock().now());
        datePicker->setMaximumDate(Calendar::timeOf(DateParts{2040, 12, 31, 23, 59, 59}));
    }
    return *datePicker;
}

void SendExternalPostViewController::openDate() {
    textView->resignFirstResponder();
    ensureDatePicker();
    auto self = std::dynamic_pointer_cast<CustomActionSheetDelegate>(shared_from_this());
    auto sheet = CustomActionSheet::create(datePicker->frame().height(), "Zorlet时间", "清空", "", self);
    sheet->setId("timeSheet");
    sheet->view().addSubview(datePicker);
    sheet->showInView(&view());
}

void SendExternalPostViewController::done(CustomActionSheet&) {
    if (!datePicker) {
        return;
    }
    time = Calendar::format(datePicker->date(), kDateFormat);
    timeLabel->setText(*time);
    timeLabel->setTextAlignment(TextAlignment::Left);
}

void SendExternalPostViewController::docancel(CustomActionSheet&) {
    time.reset();
    timeLabel->setText(kNoDayText);
    timeLabel->setTextAlignment(TextAlignment::Right);
}

void SendExternalPostViewController::backgroundTap() {
    textView->resignFirstResponder();
}

bool SendExternalPostViewController::textViewShouldChangeText(TextView&, TextRange, const std::string&) {
    return Keyboard::shared().currentInputMode() != "emoji";
}

std::string SendExternalPostViewController::comment() const {
    return textView ? textView->text() : std::string();
}

void SendExternalPostViewController::close() {
    if (!comment().empty()) {
        auto alert = AlertView::create("提示", "要放弃已编辑的内容么？", this, "取消", {"放弃"});
        alert->setId("closeAlert");
        alert->show();
        return;
    }
    doClose();
}

void SendExternalPostViewController::alertViewClickedButton(AlertView& alertView, int index) {
    if (index != alertView.cancelButtonIndex()) {
        doClose();
    }
}

void SendExternalPostViewController::doClose() {
    Keyboard::shared().endEditing(&view());
    if (NavigationController* navigation = navigationController()) {
        navigation->popViewController(true);
    }
}

void SendExternalPostViewController::sendExternalPost() {
    if (!externalPost) {
        return;
    }
    std::string typed = comment();
    if (UnicodeText::chineseLength(typed) > ExternalPostContent::kMaxCommentLength) {
        MessageShow::error(ExternalPostContent::kCommentLengthMessage, &view());
        return;
    }
    bool withComment = !UnicodeText::trimmed(typed).empty();
    std::string content = ExternalPostContent::content(externalPost->name, typed);
    if (!postService) {
        postService = std::make_shared<PostService>();
        if (NavigationController* navigation = navigationController()) {
            postService->viewController = navigation->weak_from_this();
        }
    }
    ImagePtr picture =
        photoImageView->tag() == 1 && photoImageView->image() ? photoImageView->image()->image() : nullptr;
    auto weak = weakSelf(this);
    postService->sendPost(
        content, time.value_or(""), ExternalPostContent::place(externalPost->address), realUrl, picture, 0,
        &view(), [weak, content, withComment] {
            Analytics::event("sendExternalPost", {{"withComment", withComment ? "1" : "0"}});
            auto self = weak.lock();
            if (!self) {
                return;
            }
            if (self->afterSendTimer_ != 0) {
                MainLoop::main().cancel(self->afterSendTimer_);
            }
            self->afterSendTimer_ = MainLoop::main().runAfter(kAfterSendDelay, [weak, content] {
                if (auto screen = weak.lock()) {
                    screen->afterSendTimer_ = 0;
                    screen->goRescue(content);
                }
            });
        });
}

void SendExternalPostViewController::goRescue(const std::string& content) {
    if (NavigationController* navigation = navigationController()) {
        navigation->pushViewController(std::make_shared<RescueUsersViewController>(content), true);
    }
}

}  // namespace zorlet
