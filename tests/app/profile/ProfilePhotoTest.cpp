#include "ProfileTestSupport.h"

#include "model/JpegSizeLimit.h"

#include <cstring>

namespace zorlet::test {
namespace {

using namespace std::chrono_literals;

// A square picture; `noise` from 0 (smooth) to 255 (pure noise) sets how hard it is to compress.
ImagePtr photo(int side, int noise) {
    auto image = std::make_shared<Image>(side, side);
    std::uint32_t seed = 12345;
    for (int y = 0; y < side; ++y) {
        auto* row =
            reinterpret_cast<std::uint32_t*>(image->data() + static_cast<std::size_t>(y) * image->stride());
        for (int x = 0; x < side; ++x) {
            seed = seed * 1664525u + 1013904223u;
            int jitter = noise > 0 ? static_cast<int>((seed >> 24) % static_cast<unsigned>(noise)) : 0;
            auto channel = [&](int base) { return static_cast<std::uint32_t>((base + jitter) & 0xFF); };
            row[x] = 0xFF000000u | channel(x * 255 / side) << 16 | channel(y * 255 / side) << 8 |
                     channel((x + y) * 127 / side);
        }
    }
    return image;
}

// The quality the upload should use: the first step within the limit, or the lowest.
double expectedQuality(const Image& image) {
    for (double quality : JpegSizeLimit::tenthStepQualities()) {
        if (image.jpegData(quality).size() <= JpegSizeLimit::kUploadLimitBytes) {
            return quality;
        }
    }
    return 0.1;
}

class ProfilePhotoTest : public ProfileFormTest {
protected:
    // Picks `image` through the form's photo sheet, choosing entry `entry`.
    void pickThroughSheet(SettingViewController& form, int entry, const ImagePtr& image) {
        ASSERT_TRUE(tapRow(form, 0, 0));
        ActionSheet* sheet = AlertRegistry::shared().topSheet();
        ASSERT_NE(sheet, nullptr);
        EXPECT_EQ(sheet->title(), "上传头像");
        EXPECT_EQ(sheet->buttonTitles(), (std::vector<std::string>{"用户相册", "拍照", "取消"}));
        ASSERT_TRUE(UserInput::answerSheet(entry));
        auto* picker = ImagePickerController::visiblePicker();
        ASSERT_NE(picker, nullptr);
        EXPECT_TRUE(picker->allowsEditing());
        lastSource_ = picker->sourceType();
        ASSERT_TRUE(picker->pick(image));
        EXPECT_EQ(ImagePickerController::visiblePicker(), nullptr);
    }

    ImagePickerController::SourceType lastSource_ = ImagePickerController::SourceType::SavedPhotosAlbum;
};

TEST_F(ProfilePhotoTest, ALargePhotoIsSentAtTheFirstQualityThatFits) {
    server_.onJson("/profile/save", savedUserEnvelope(profileUser()));
    // A 3 MB picture that fits the limit only some way down the quality steps.
    auto image = photo(1000, 40);
    ASSERT_GT(image->pixelWidth() * image->pixelHeight() * 4, 3'000'000 - 1);
    double quality = expectedQuality(*image);
    ASSERT_LT(quality, 0.85) << "the picture must not fit at the first step";
    ASSERT_GT(quality, 0.15) << "the picture must fit before the last step";

    std::size_t saveEvents = eventCount("saveProfile");
    std::size_t logoEvents = eventCount("uploadLogo");
    auto form = openProfileForm();
    pickThroughSheet(*form, 0, image);
    EXPECT_EQ(lastSource_, ImagePickerController::SourceType::PhotoLibrary);
    ASSERT_NE(form->newLogo(), nullptr);
    EXPECT_EQ(form->newLogo()->pixelWidth(), image->pixelWidth());
    EXPECT_TRUE(form->saveButton()->isEnabled());
    EXPECT_TRUE(navigation_->popAlert());
    EXPECT_EQ(form->logoImageView->image()->name(), "newLogo");

    ASSERT_TRUE(UserInput::tapBarButton(*form->saveButton()));
    ASSERT_TRUE(waitForRequests("/profile/save"));
    auto request = server_.lastRequestTo("/profile/save");
    ASSERT_EQ(request.files.size(), 1u);
    EXPECT_EQ(request.files[0].key, "logo");
    EXPECT_EQ(request.files[0].fileName, "logo.jpg");
    EXPECT_EQ(request.files[0].contentType, "image/jpeg");
    EXPECT_EQ(request.files[0].data, image->jpegData(quality));
    EXPECT_LE(request.files[0].data.size(), JpegSizeLimit::kUploadLimitBytes);
    // The text fields travel in the same multipart body.
    EXPECT_EQ(request.param("nickname"), "阿明");

    ASSERT_TRUE(waitUntil([&] { return form->newLogo() == nullptr; }));
    EXPECT_EQ(eventCount("uploadLogo"), logoEvents + 1);
    advance(2s);
    EXPECT_EQ(eventCount("saveProfile"), saveEvents + 1);
}

TEST_F(ProfilePhotoTest, APhotoThatNeverFitsIsSentAtTheLowestQuality) {
    server_.onJson("/profile/save", savedUserEnvelope(profileUser()));
    auto image = photo(1200, 255);
    ASSERT_GT(image->jpegData(0.1).size(), JpegSizeLimit::kUploadLimitBytes);

    auto form = openProfileForm();
    // No camera on this machine: "拍照" opens the photo library.
    ASSERT_FALSE(ImagePickerController::isSourceTypeAvailable(ImagePickerController::SourceType::Camera));
    pickThroughSheet(*form, 1, image);
    EXPECT_EQ(lastSource_, ImagePickerController::SourceType::PhotoLibrary);
    ASSERT_TRUE(UserInput::tapBarButton(*form->saveButton()));
    ASSERT_TRUE(waitForRequests("/profile/save"));
    auto request = server_.lastRequestTo("/profile/save");
    ASSERT_EQ(request.files.size(), 1u);
    EXPECT_EQ(request.files[0].data, image->jpegData(0.1));
}

TEST_F(ProfilePhotoTest, WithACameraTakingAPhotoUsesIt) {
    ImagePickerController::setCameraAvailable(true);
    auto form = openProfileForm();
    pickThroughSheet(*form, 1, photo(64, 0));
    EXPECT_EQ(lastSource_, ImagePickerController::SourceType::Camera);
    // Cancelling the sheet opens no picker.
    ASSERT_TRUE(tapRow(*form, 0, 0));
    ASSERT_TRUE(UserInput::answerSheet(2));
    EXPECT_EQ(ImagePickerController::visiblePicker(), nullptr);
}

// The one photo picker: it answers its delegate, edits to the centred square and
// is found by front-ends only while it is on screen.
class PickerOwner : public ViewController, public ImagePickerControllerDelegate {
public:
    void imagePickerDidFinishPicking(ImagePickerController& picker, const ImagePtr& original,
                                     const ImagePtr& edited) override {
        this->original = original;
        this->edited = edited;
        picker.dismissModalViewController(false);
    }
    void imagePickerDidCancel(ImagePickerController& picker) override {
        ++cancelled;
        picker.dismissModalViewController(false);
    }
    ImagePtr original;
    ImagePtr edited;
    int cancelled = 0;
};

TEST(ImagePickerTest, AnswersItsDelegateWhileShownAndEditsToTheCentredSquare) {
    ImagePickerController::reset();
    auto owner = std::make_shared<PickerOwner>();
    auto window = std::make_shared<Window>();
    window->setRootViewController(owner);
    window->makeKeyAndVisible();

    auto picker = std::make_shared<ImagePickerController>();
    picker->setAllowsEditing(true);
    auto nobody = picker->pick(std::make_shared<Image>(4, 4));
    EXPECT_FALSE(nobody);
    EXPECT_EQ(nobody.error(), "the image picker has nobody to hand the picture to");
    picker->setDelegate(owner.get());
    EXPECT_EQ(ImagePickerController::visiblePicker(), nullptr);

    owner->presentModalViewController(picker, false);
    EXPECT_EQ(ImagePickerController::visiblePicker(), picker.get());
    auto unreadable = picker->pickImage("/nonexistent/picture.png");
    EXPECT_FALSE(unreadable);
    EXPECT_NE(unreadable.error().find("not a picture"), std::string::npos);
    EXPECT_EQ(picker->pick(nullptr).error(), "the picture is empty");
    EXPECT_EQ(ImagePickerController::visiblePicker(), picker.get());

    auto wide = std::make_shared<Image>(6, 2);
    for (int x = 0; x < 6; ++x) {
        auto* pixels = reinterpret_cast<std::uint32_t*>(wide->data());
        pixels[x] = 0xFF000000u | static_cast<std::uint32_t>(x);
        pixels[wide->stride() / 4 + x] = 0xFF000000u | static_cast<std::uint32_t>(x + 10);
    }
    ASSERT_TRUE(picker->pick(wide));
    ASSERT_NE(owner->edited, nullptr);
    EXPECT_EQ(owner->original, wide);
    EXPECT_EQ(owner->edited->pixelWidth(), 2);
    EXPECT_EQ(owner->edited->pixelHeight(), 2);
    EXPECT_EQ(owner->edited->pixelAt(0, 0), 0xFF000002u);
    EXPECT_EQ(owner->edited->pixelAt(1, 1), 0xFF00000Du);
    EXPECT_EQ(ImagePickerController::visiblePicker(), nullptr);

    // Without a camera, asking for one gives the photo library.
    auto second = std::make_shared<ImagePickerController>();
    second->setSourceType(ImagePickerController::SourceType::Camera);
    EXPECT_EQ(second->sourceType(), ImagePickerController::SourceType::PhotoLibrary);
    second->setDelegate(owner.get());
    owner->presentModalViewController(second, false);
    second->cancel();
    EXPECT_EQ(owner->cancelled, 1);
    EXPECT_EQ(owner->modalViewController(), nullptr);

    // A picker nobody listens to closes itself when the user gives up.
    auto orphan = std::make_shared<ImagePickerController>();
    owner->presentModalViewController(orphan, false);
    orphan->cancel();
    EXPECT_EQ(owner->modalViewController(), nullptr);
    MainLoop::main().runPending();
}

}  // namespace
}  // namespace zorlet::test
