#include "PeopleTestSupport.h"

#include "model/JpegSizeLimit.h"
#include "people/PostService.h"
#include "people/SendPostBarButtonItem.h"
#include "people/SendPostViewController.h"
#include "platform/UnicodeText.h"
#include "ui/Animator.h"
#include "ui/ProgressHUD.h"
#include "ui/UserInput.h"
#include "widgets/CustomActionSheet.h"

#include <cstring>
#include <random>

namespace zorlet::test {
namespace {

using namespace std::chrono_literals;

std::string chinese(int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += "玩";
    }
    return text;
}

ImagePtr noisyPicture(int side) {
    auto image = std::make_shared<Image>(side, side);
    std::mt19937 random(7);
    for (int y = 0; y < side; ++y) {
        auto* row = reinterpret_cast<std::uint32_t*>(image->data() + y * image->stride());
        for (int x = 0; x < side; ++x) {
            row[x] = 0xFF000000u | (random() & 0xFFFFFFu);
        }
    }
    return image;
}

class ComposerTest : public PeopleTest {
protected:
    void SetUp() override {
        PeopleTest::SetUp();
        signInAs(1, 1);
        Json saved = {{"postId", 9}, {"purpose", "美食"}, {"content", "edited"}, {"createUid", 1}};
        server_.onJson("/post/sendPost", Json{{"success", true}, {"result", saved}}.dump());
        server_.onJson("/post/v133/edit", Json{{"success", true}, {"result", saved}}.dump());
    }
    std::shared_ptr<SendPostViewController> open(PostPtr post = nullptr) {
        auto composer = std::make_shared<SendPostViewController>(std::move(post));
        auto root = std::make_shared<ViewController>();
        navigation_ = show(root);
        navigation_->pushViewController(composer, false);
        advance(200ms);  // the text view takes the focus
        return composer;
    }
    void type(SendPostViewController& composer, const std::string& text) {
        composer.textView->setText(text);
        composer.textViewDidChange(*composer.textView);
    }
    std::string lastAlert() {
        auto* alert = AlertRegistry::shared().topAlert();
        return alert != nullptr ? alert->title() : std::string();
    }

    std::shared_ptr<CustomNavigationController> navigation_;
};

TEST_F(ComposerTest, TextLengthIsCheckedInChineseUnits) {
    auto composer = open();
    EXPECT_EQ(composer->title(), "说说想出去玩什么");
    EXPECT_EQ(composer->navigationItem().rightBarButtonItem()->title(), "发布");
    EXPECT_TRUE(composer->textView->isFirstResponder());

    type(*composer, "abc");
    composer->sendPost();
    EXPECT_EQ(lastAlert(), SendPostViewController::kLengthMessage);
    AlertRegistry::shared().clear();
    type(*composer, chinese(81));
    composer->sendPost();
    EXPECT_EQ(lastAlert(), SendPostViewController::kLengthMessage);
    AlertRegistry::shared().clear();
    settle();
    EXPECT_EQ(server_.countOf("/post/sendPost"), 0u);

    type(*composer, chinese(80));
    composer->sendPost();
    ASSERT_TRUE(waitForRequests("/post/sendPost", 1));
    advance(3s);
    type(*composer, chinese(2));
    composer->sendPost();
    ASSERT_TRUE(waitForRequests("/post/sendPost", 2));
    auto sent = server_.lastRequestTo("/post/sendPost");
    EXPECT_EQ(sent.param("content"), chinese(2));
    EXPECT_EQ(sent.param("categoryId"), "1");  // the first category
    EXPECT_EQ(sent.param("dateString"), "");
    EXPECT_EQ(sent.param("place"), "");
    EXPECT_TRUE(sent.files.empty());
}

TEST_F(ComposerTest, RemainingAllowanceTurnsRedWhenOver) {
    auto composer = open();
    EXPECT_EQ(composer->remainLengthLabel->text(), "80");
    type(*composer, chinese(80) + "a");
    EXPECT_EQ(composer->remainLengthLabel->text(), "0");
    EXPECT_EQ(composer->remainLengthLabel->textColor(), Color::redColor());
    type(*composer, chinese(81));
    EXPECT_EQ(composer->remainLengthLabel->text(), "-1");
    type(*composer, "  " + chinese(80) + "\n ");  // surrounding blanks do not count
    EXPECT_EQ(composer->remainLengthLabel->text(), "0");
    EXPECT_NE(composer->remainLengthLabel->textColor(), Color::redColor());
    EXPECT_EQ(UnicodeText::trimmed("\u3000 想 \n"), "想");
}

TEST_F(ComposerTest, ClearingTheDateSendsItEmptyAndPublishingLeadsToRescue) {
    auto composer = open();
    type(*composer, "周末爬山去");
    composer->timeButtonClick();
    auto* sheet = dynamic_cast<CustomActionSheet*>(AlertRegistry::shared().topSheet());
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->title().find("\n"), 0u);
    EXPECT_EQ(sheet->cancelItem()->title(), "清空");
    sheet->done();
    ASSERT_TRUE(composer->time);
    EXPECT_EQ(composer->time->size(), 10u);
    EXPECT_TRUE(composer->timeButton->isSelected());

    composer->timeButtonClick();
    dynamic_cast<CustomActionSheet*>(AlertRegistry::shared().topSheet())->docancel();
    EXPECT_FALSE(composer->time);
    EXPECT_FALSE(composer->timeButton->isSelected());

    composer->sendPost();
    auto* hud = ProgressHUD::HUDForView(window_.get());
    ASSERT_NE(hud, nullptr);
    EXPECT_EQ(hud->labelText(), "发布中...");
    EXPECT_EQ(hud->yOffset(), -77);
    ASSERT_TRUE(waitUntil([&] { return hud->labelText() == "发送成功"; }));
    EXPECT_EQ(server_.lastRequestTo("/post/sendPost").param("dateString"), "");
    advance(2s);
    EXPECT_EQ(navigation_->topViewController()->className(), "RescueUsersViewController");
}

TEST_F(ComposerTest, ATooLongPlaceIsRefusedAndOfferedAgain) {
    auto composer = open();
    type(*composer, "去吃火锅吧");
    composer->placeButtonClick();
    ASSERT_NE(composer->placeField, nullptr);
    // The field has the keyboard and offers its clear button while it is edited.
    EXPECT_TRUE(composer->placeField->isFirstResponder());
    EXPECT_EQ(composer->placeField->clearButtonMode(), TextFieldViewMode::WhileEditing);
    EXPECT_EQ(composer->placeField->placeholder(), "输入地点");
    composer->placeField->setText(chinese(51));
    ASSERT_TRUE(UserInput::answerAlert(1));
    EXPECT_EQ(lastAlert(), SendPostViewController::kPlaceLengthMessage);
    EXPECT_EQ(composer->place.value_or("x"), "");
    AlertRegistry::shared().clear();

    composer->placeButtonClick();
    EXPECT_EQ(composer->placeField->text(), chinese(51));
    composer->placeField->setText("  三里屯 ");
    ASSERT_TRUE(UserInput::answerAlert(1));
    EXPECT_EQ(*composer->place, "三里屯");
    EXPECT_TRUE(composer->placeButton->isSelected());
    EXPECT_TRUE(composer->lastPlaceErrorInput.empty());

    composer->placeButtonClick();
    EXPECT_EQ(composer->placeField->text(), "三里屯");
    composer->placeField->setText(chinese(51));
    ASSERT_TRUE(UserInput::answerAlert(1));
    AlertRegistry::shared().clear();
    composer->sendPost();
    ASSERT_TRUE(waitForRequests("/post/sendPost", 1));
    EXPECT_EQ(server_.lastRequestTo("/post/sendPost").param("place"), "");
}

TEST_F(ComposerTest, EditingKeepsOrClearsThePictureAndUpdatesTheSharedPost) {
    auto post = Post::convertFromDictionary({{"postId", 9},
                                             {"content", "原来的内容"},
                                             {"categoryId", 2},
                                             {"place", "香山"},
                                             {"date", "2030-05-01"},
                                             {"pic", "http://127.0.0.1:1/p.jpg"},
                                             {"picFileName", "abc.jpg"}});
    auto feedUser = User::convertFromDictionary(userJson(1, 1));
    feedUser->post = post;
    auto composer = open(post);
    EXPECT_EQ(composer->title(), "修改Zorlet");
    EXPECT_EQ(composer->categoryId, 2);
    EXPECT_EQ(composer->pic, "abc.jpg");
    EXPECT_TRUE(composer->imageButton->isSelected());
    EXPECT_EQ(composer->remainLengthLabel->text(), "75");

    composer->sendPost();
    ASSERT_TRUE(waitForRequests("/post/v133/edit", 1));
    auto edit = server_.lastRequestTo("/post/v133/edit");
    EXPECT_EQ(edit.param("postId"), "9");
    EXPECT_EQ(edit.param("pic"), "abc.jpg");
    EXPECT_EQ(edit.param("place"), "香山");
    EXPECT_EQ(edit.param("dateString"), "2030-05-01");
    EXPECT_TRUE(edit.files.empty());
    ASSERT_TRUE(waitUntil([&] { return post->content == "edited"; }));
    EXPECT_EQ(feedUser->post->content, "edited");  // the feed's row holds the same post
    EXPECT_EQ(ProgressHUD::HUDForView(window_.get())->labelText(), "修改成功");
    advance(2s);
    EXPECT_EQ(navigation_->topViewController()->className(), "ViewController");  // closed

    auto again = open(Post::convertFromDictionary({{"postId", 9},
                                                   {"content", "再改一次"},
                                                   {"pic", "http://127.0.0.1:1/p.jpg"},
                                                   {"picFileName", "abc.jpg"}}));
    again->imageView->setHidden(false);  // the picture has loaded
    again->imageButtonClick();
    auto* sheet = AlertRegistry::shared().topSheet();
    ASSERT_NE(sheet, nullptr);
    EXPECT_EQ(sheet->buttonTitle(2), "清除照片");
    ASSERT_TRUE(UserInput::answerSheet(2));
    EXPECT_TRUE(again->imageView->isHidden());
    EXPECT_FALSE(again->imageButton->isSelected());
    again->sendPost();
    ASSERT_TRUE(waitForRequests("/post/v133/edit", 2));
    EXPECT_EQ(server_.lastRequestTo("/post/v133/edit").param("pic"), "");
}

TEST_F(ComposerTest, APickedPictureIsUploadedAsJpeg) {
    auto composer = open();
    type(*composer, "看展览去");
    composer->imageButtonClick();
    ASSERT_TRUE(UserInput::answerSheet(0));  // 用户相册
    auto* picker = ImagePickerController::visiblePicker();
    ASSERT_NE(picker, nullptr);
    EXPECT_EQ(picker->sourceType(), ImagePickerController::SourceType::PhotoLibrary);
    auto picture = std::make_shared<Image>(40, 30);
    ASSERT_TRUE(picker->pick(picture));
    // Editing is on: the composer keeps the centred square the editing step gives.
    ASSERT_NE(composer->image, nullptr);
    EXPECT_EQ(composer->image->pixelWidth(), 30);
    EXPECT_EQ(composer->image->pixelHeight(), 30);
    EXPECT_TRUE(composer->imageButton->isSelected());
    EXPECT_FALSE(composer->imageView->isHidden());

    composer->sendPost();
    ASSERT_TRUE(waitForRequests("/post/sendPost", 1));
    auto sent = server_.lastRequestTo("/post/sendPost");
    ASSERT_EQ(sent.files.size(), 1u);
    EXPECT_EQ(sent.files[0].key, "postImg");
    EXPECT_EQ(sent.files[0].fileName, "postImg.jpg");
    EXPECT_EQ(sent.files[0].contentType, "image/jpeg");
    EXPECT_TRUE(Image::decode(sent.files[0].data));
}

TEST(PostPictureTest, QualitySteppingEndsAtZeroAndSendsWhatever) {
    auto qualities = JpegSizeLimit::postQualities();
    EXPECT_EQ(std::vector<double>(qualities.begin(), qualities.end()),
              (std::vector<double>{0.9, 0.7, 0.5, 0.3, 0.1, 0}));
    auto noise = noisyPicture(2000);
    std::string encoded = PostService::encodePicture(*noise);
    ASSERT_GT(encoded.size(), JpegSizeLimit::kUploadLimitBytes);  // still too large at quality 0
    EXPECT_EQ(encoded, noise->jpegData(0));
    auto small = std::make_shared<Image>(50, 50);
    EXPECT_EQ(PostService::encodePicture(*small), small->jpegData(0.9));
}

TEST_F(ComposerTest, AnIncompleteProfileLeadsToTheProfileSettings) {
    server_.onJson("/post/sendPost", R"({"success":false,"errorCode":100010,"errorInfo":"请先完善资料"})");
    auto composer = open();
    type(*composer, "去看电影吧");
    composer->sendPost();
    ASSERT_TRUE(waitUntil([] { return AlertRegistry::shared().topAlert() != nullptr; }));
    EXPECT_EQ(AlertRegistry::shared().topAlert()->tag(), 100010);
    EXPECT_EQ(ProgressHUD::HUDForView(window_.get()), nullptr);
    ASSERT_TRUE(UserInput::answerAlert(0));
    auto* modal = dynamic_cast<NavigationController*>(navigation_->modalViewController());
    ASSERT_NE(modal, nullptr);
    EXPECT_EQ(modal->topViewController()->className(), "ProfileSettingViewController");
    EXPECT_EQ(navigation_->topViewController(), composer.get());  // the composer keeps its content
    EXPECT_EQ(composer->textView->text(), "去看电影吧");
}

TEST_F(ComposerTest, ClosingAsksOnlyWhenThereIsText) {
    auto composer = open();
    type(*composer, "想去");
    composer->close();
    EXPECT_EQ(AlertRegistry::shared().topAlert()->message(), "要放弃已编辑的内容么？");
    ASSERT_TRUE(UserInput::answerAlert(0));
    EXPECT_EQ(navigation_->topViewController(), composer.get());
    composer->close();
    ASSERT_TRUE(UserInput::answerAlert(1));
    EXPECT_NE(navigation_->topViewController(), composer.get());

    auto empty = open();
    empty->close();
    EXPECT_NE(navigation_->topViewController(), empty.get());
}

TEST_F(ComposerTest, TheSendButtonItemPushesAComposer) {
    auto owner = std::make_shared<ViewController>();
    auto navigation = show(owner);
    auto item = SendPostBarButtonItem::create(owner);
    EXPECT_EQ(item->customView()->id(), "goToSendPost");
    item->goToSendPost();
    EXPECT_EQ(navigation->topViewController()->className(), "SendPostViewController");
}

TEST_F(ComposerTest, TheInfoBarRidesOnTheKeyboardWithItsDurationAndCurve) {
    auto composer = open();
    ASSERT_TRUE(Keyboard::shared().isShown());
    // The screen's logic sees the bar on the keyboard at once; the screen shows it moving there.
    Rect raised = composer->infoBar->frame();
    Rect atRest = raised;
    atRest.origin.y = composer->view().bounds().height() - raised.height();
    EXPECT_LT(raised.y(), atRest.y());
    Animator& animator = Animator::shared();
    ASSERT_TRUE(animator.isAnimating(*composer->infoBar));
    EXPECT_EQ(animator.presentationFrame(*composer->infoBar), atRest);
    advance(62ms);
    // The keyboard's curve is well past a quarter of the way after a quarter of its 0.25 s.
    double moved =
        (atRest.y() - animator.presentationFrame(*composer->infoBar).y()) / (atRest.y() - raised.y());
    EXPECT_GT(moved, 0.45);
    EXPECT_LT(moved, 1);
    advance(188ms);
    EXPECT_FALSE(animator.isAnimating(*composer->infoBar));

    composer->textView->resignFirstResponder();
    EXPECT_EQ(composer->infoBar->frame(), atRest);
    EXPECT_EQ(animator.presentationFrame(*composer->infoBar), raised);
    advance(250ms);
    EXPECT_EQ(animator.presentationFrame(*composer->infoBar), atRest);
}

}  // namespace
}  // namespace zorlet::test
