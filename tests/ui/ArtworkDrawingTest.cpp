// Named pictures as screens draw them: SVG artwork at the screen's scale,
// stretchable pictures keeping their caps, and stand-ins for names without
// artwork recorded for the tests and the tour.

#include "ui/ImageAsset.h"
#include "ui/MissingImageRegistry.h"
#include "ui/Painter.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <unistd.h>
#include <filesystem>
#include <fstream>
#include <set>
#include <string>

namespace zorlet {
namespace {

constexpr std::uint32_t kRed = 0xFFFF0000u;
constexpr std::uint32_t kGreen = 0xFF00FF00u;
constexpr std::uint32_t kBlue = 0xFF0000FFu;

// A resource folder of our own for one test, restored to the app's afterwards.
class ArtworkDrawingTest : public ::testing::Test {
protected:
    void SetUp() override {
        folder_ = std::filesystem::temp_directory_path() /
                  ("zorlet-artwork-" + std::to_string(::getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder_);
        ImageAsset::setResourceDirectory(folder_.string());
        MissingImageRegistry::shared().clear();
    }
    void TearDown() override {
        ImageAsset::setResourceDirectory(std::string(ZORLET_RESOURCES_DIR) + "/images");
        MissingImageRegistry::shared().clear();
        std::filesystem::remove_all(folder_);
    }
    void write(const std::string& file, const std::string& content) {
        std::ofstream(folder_ / file, std::ios::binary) << content;
    }
    // Draws `asset` over `rect` into a transparent canvas of `canvas` points at `scale`.
    static ImagePtr draw(const ImageAsset& asset, Size canvas, const Rect& rect, double scale) {
        auto image = std::make_shared<Image>(static_cast<int>(canvas.width * scale),
                                             static_cast<int>(canvas.height * scale), scale);
        cairo_surface_t* surface = image->createCairoSurface();
        cairo_t* cr = cairo_create(surface);
        cairo_scale(cr, scale, scale);
        Painter(cr).drawImage(asset, rect);
        cairo_destroy(cr);
        cairo_surface_flush(surface);
        cairo_surface_destroy(surface);
        return image;
    }

    std::filesystem::path folder_;
};

// 10 x 10 points: a red 4 x 4 top-left corner, a green top-right corner from
// x 5, blue elsewhere; the column at x 4 and the row at y 4 are the ones that stretch.
const std::string kCornered =
    R"(<svg xmlns="http://www.w3.org/2000/svg" width="10" height="10" viewBox="0 0 10 10">)"
    R"(<rect width="10" height="10" fill="#0000FF"/><rect width="4" height="4" fill="#FF0000"/>)"
    R"(<rect x="5" width="5" height="4" fill="#00FF00"/></svg>)";

TEST_F(ArtworkDrawingTest, SvgArtworkIsPreferredAndDrawnAtTheScreensScale) {
    write("badge.svg", kCornered);
    Image small(4, 4, 1.0);
    std::string png = small.pngData();
    write("badge.png", png);
    write("photo.png", png);

    auto badge = ImageAsset::named("badge.png");
    ASSERT_TRUE(badge->isVector());
    EXPECT_EQ(badge->size(), (Size{10, 10}));
    EXPECT_EQ(badge->rendition(3)->pixelWidth(), 30);
    EXPECT_EQ(badge->image()->pixelWidth(), 20);  // the default scale
    EXPECT_EQ(ImageAsset::named("badge"), ImageAsset::named("badge"));

    // Drawn at 3x, the corner is crisp: no pixel of the 4-point corner is blended.
    ImagePtr drawn = draw(*badge, {10, 10}, Rect(0, 0, 10, 10), 3);
    EXPECT_EQ(drawn->pixelAt(11, 11), kRed);
    EXPECT_EQ(drawn->pixelAt(12, 1), kBlue);

    auto photo = ImageAsset::named("photo");  // PNG keeps working
    ASSERT_TRUE(photo->hasPixels());
    EXPECT_FALSE(photo->isVector());
    EXPECT_EQ(photo->size(), (Size{4, 4}));
    EXPECT_TRUE(MissingImageRegistry::shared().asked().empty());
}

TEST_F(ArtworkDrawingTest, StretchablePicturesKeepTheirCapsAndStretchTheMiddle) {
    write("card.svg", kCornered);
    write("stretch.json", R"({"card": [4, 4]})");
    auto card = ImageAsset::named("card.png");
    ASSERT_TRUE(card->isStretchable());

    ImagePtr drawn = draw(*card, {40, 30}, Rect(0, 0, 40, 30), 2);
    EXPECT_EQ(drawn->pixelAt(2 * 3, 2 * 3), kRed);   // the left cap stays 4 points wide
    EXPECT_EQ(drawn->pixelAt(2 * 5, 2 * 2), kBlue);  // the stretched column
    EXPECT_EQ(drawn->pixelAt(2 * 30, 2 * 2), kBlue);
    EXPECT_EQ(drawn->pixelAt(2 * 36, 2 * 2), kGreen);  // the right cap: the last 5 points
    EXPECT_EQ(drawn->pixelAt(2 * 38, 2 * 20), kBlue);
    EXPECT_EQ(drawn->pixelAt(2 * 2, 2 * 20), kBlue);  // below the top cap

    // Without caps the whole picture stretches: the red corner grows with it.
    auto whole = ImageAsset::fromImage(card->rendition(2), "whole");
    ImagePtr stretched = draw(*whole, {40, 30}, Rect(0, 0, 40, 30), 2);
    EXPECT_EQ(stretched->pixelAt(2 * 14, 2 * 10), kRed);

    // Caps given by a screen win over the artwork's.
    auto narrow = ImageAsset::stretchable("card", 2, 0);
    EXPECT_EQ(narrow->leftCap(), 2);
    EXPECT_EQ(narrow->topCap(), 0);

    // A box smaller than the caps shrinks them in proportion rather than overlapping them.
    ImagePtr squeezed = draw(*card, {6, 10}, Rect(0, 0, 6, 10), 2);
    EXPECT_EQ(squeezed->pixelAt(1, 1), kRed);
    EXPECT_EQ(squeezed->pixelAt(2 * 6 - 2, 1), kGreen);
}

TEST_F(ArtworkDrawingTest, BrokenStretchRulesAndArtworkLeaveTheRestWorking) {
    write("card.svg", kCornered);
    write("broken.svg", "<svg xmlns=\"http://www.w3.org/2000/svg\"><rect");
    write("stretch.json", R"({"card": "wide", "other": [1, 2]})");
    auto card = ImageAsset::named("card");
    EXPECT_TRUE(card->hasPixels());
    EXPECT_FALSE(card->isStretchable());
    EXPECT_FALSE(ImageAsset::named("broken")->hasPixels());
    EXPECT_EQ(MissingImageRegistry::shared().asked(), (std::set<std::string>{"broken"}));

    write("stretch.json", "not json");
    ImageAsset::clearCache();
    EXPECT_TRUE(ImageAsset::named("card")->hasPixels());
}

TEST_F(ArtworkDrawingTest, NamesWithoutArtworkAreRecordedWhenAskedForAndWhenDrawn) {
    auto missing = ImageAsset::named("nowhere_btn");
    EXPECT_FALSE(missing->hasPixels());
    EXPECT_EQ(missing->size(), (Size{ImageAsset::kStandInSide, ImageAsset::kStandInSide}));
    EXPECT_EQ(MissingImageRegistry::shared().asked(), (std::set<std::string>{"nowhere_btn"}));
    EXPECT_TRUE(MissingImageRegistry::shared().drawn().empty());

    ImagePtr drawn = draw(*missing, {30, 30}, Rect(0, 0, 30, 30), 1);
    EXPECT_NE(drawn->pixelAt(15, 5) >> 24, 0u);  // the stand-in is visible, as a debugging aid
    EXPECT_EQ(MissingImageRegistry::shared().drawn(), (std::set<std::string>{"nowhere_btn"}));
    MissingImageRegistry::shared().clearDrawn();
    EXPECT_TRUE(MissingImageRegistry::shared().drawn().empty());
    EXPECT_FALSE(MissingImageRegistry::shared().asked().empty());
}

}  // namespace
}  // namespace zorlet
