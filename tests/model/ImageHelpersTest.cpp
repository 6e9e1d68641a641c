#include "model/ImageHelpers.h"
#include "model/JpegSizeLimit.h"
#include "platform/Log.h"

#include <gtest/gtest.h>
#include <spdlog/sinks/ostream_sink.h>

#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <random>
#include <sstream>

namespace zorlet {
namespace {

constexpr std::uint32_t kRed = 0xFFFF0000;
constexpr std::uint32_t kGreen = 0xFF00FF00;
constexpr std::uint32_t kBlue = 0xFF0000FF;
constexpr std::uint32_t kWhite = 0xFFFFFFFF;

ImagePtr paint(int width, int height, const std::function<std::uint32_t(int, int)>& colorAt,
               double scale = 1) {
    auto image = std::make_shared<Image>(width, height, scale);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            std::uint32_t color = colorAt(x, y);  // opaque colours are their own premultiplied form
            std::memcpy(image->data() + y * image->stride() + x * 4, &color, 4);
        }
    }
    return image;
}

// Four vertical bands of a quarter of the width each: red, green, blue, white.
ImagePtr bands(int width, int height) {
    return paint(width, height, [width](int x, int) {
        const std::uint32_t colors[] = {kRed, kGreen, kBlue, kWhite};
        return colors[x * 4 / width];
    });
}

std::uint32_t alphaOf(const Image& image, int x, int y) {
    return image.pixelAt(x, y) >> 24;
}

// Captures what is written to the log while it lives.
class LogCapture {
public:
    LogCapture() : sink_(std::make_shared<spdlog::sinks::ostream_sink_mt>(stream_)) {
        log().sinks().push_back(sink_);
    }
    ~LogCapture() { std::erase(log().sinks(), sink_); }
    std::string text() {
        log().flush();
        return stream_.str();
    }

private:
    std::ostringstream stream_;
    std::shared_ptr<spdlog::sinks::ostream_sink_mt> sink_;
};

TEST(ScaleAndCrop, WideImageIsScaledToTheHeightAndCutEquallyLeftAndRight) {
    // 100 × 50 into 60 × 60: drawn at 120 × 60 from x = −30, so source columns 25–75 remain:
    // the green band on the left half of the result, the blue band on the right.
    auto result = imageByScalingAndCroppingForSize(*bands(100, 50), 60, 60);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->pixelWidth(), 60);
    EXPECT_EQ(result->pixelHeight(), 60);
    // Sampled a few pixels away from the band edges, which the filter blends.
    for (int y : {0, 30, 59}) {
        EXPECT_EQ(result->pixelAt(3, y), kGreen) << y;
        EXPECT_EQ(result->pixelAt(27, y), kGreen) << y;
        EXPECT_EQ(result->pixelAt(32, y), kBlue) << y;
        EXPECT_EQ(result->pixelAt(56, y), kBlue) << y;
    }
}

TEST(ScaleAndCrop, TallImageIsMovedUp) {
    // 50 × 100 into 60 × 60: drawn at 60 × 120 from y = −30; rows 25–75 of the source remain.
    auto tall = paint(50, 100, [](int, int y) { return y < 25 ? kRed : (y < 75 ? kGreen : kBlue); });
    auto result = imageByScalingAndCroppingForSize(*tall, 60, 60);
    ASSERT_NE(result, nullptr);
    for (int x : {0, 30, 59}) {
        EXPECT_EQ(result->pixelAt(x, 3), kGreen);
        EXPECT_EQ(result->pixelAt(x, 56), kGreen);
    }
}

TEST(ScaleAndCrop, SameSizeIsUnchangedAndScaleIsKept) {
    auto source = bands(100, 50);
    auto same = imageByScalingAndCroppingForSize(*source, 100, 50);
    ASSERT_NE(same, nullptr);
    EXPECT_EQ(same->pixelWidth(), 100);
    EXPECT_EQ(same->pixelHeight(), 50);
    for (int x = 0; x < 100; x += 7) {
        EXPECT_EQ(same->pixelAt(x, 25), source->pixelAt(x, 25)) << x;
    }

    // A 2× image of 50 × 25 points into 30 × 30 points: 60 × 60 pixels at scale 2.
    auto retina = bands(100, 50);
    retina->setScale(2);
    auto scaled = imageByScalingAndCroppingForSize(*retina, 30, 30);
    ASSERT_NE(scaled, nullptr);
    EXPECT_EQ(scaled->pixelWidth(), 60);
    EXPECT_DOUBLE_EQ(scaled->scale(), 2);
    EXPECT_EQ(scaled->pixelAt(2, 30), kGreen);
    EXPECT_EQ(scaled->pixelAt(57, 30), kBlue);
}

// A picture shrunk a lot must average what it covers: pixels sampled here and
// there would turn a fine pattern into stripes or moiré.
TEST(ScaleAndCrop, ShrinkingFarAveragesTheFinePatternItCovers) {
    auto checkers = paint(640, 640, [](int x, int y) { return (x + y) % 2 == 0 ? kWhite : 0xFF000000; });
    for (double side : {160.0, 120.0, 75.0, 33.0}) {
        auto small = imageByScalingAndCroppingForSize(*checkers, side, side);
        ASSERT_TRUE(small);
        ASSERT_EQ(small->pixelWidth(), static_cast<int>(side));
        for (int y = 1; y + 1 < small->pixelHeight(); y += 7) {
            for (int x = 1; x + 1 < small->pixelWidth(); x += 5) {
                int green = static_cast<int>((small->pixelAt(x, y) >> 8) & 0xFF);
                EXPECT_NEAR(green, 128, 24) << side << " at " << x << "," << y;
            }
        }
    }
}

TEST(ScaleByWidth, KeepsTheAspectRatio) {
    auto result = imageByScalingByWidth(*bands(100, 50), 50);
    ASSERT_NE(result, nullptr);
    EXPECT_EQ(result->pixelWidth(), 50);
    EXPECT_EQ(result->pixelHeight(), 25);
    EXPECT_EQ(result->pixelAt(2, 12), kRed);
    EXPECT_EQ(result->pixelAt(47, 12), kWhite);

    auto doubled = imageByScalingByWidth(*bands(100, 50), 200);
    ASSERT_NE(doubled, nullptr);
    EXPECT_EQ(doubled->pixelHeight(), 100);
    EXPECT_EQ(doubled->pixelAt(199, 99), kWhite);
}

TEST(ImageScaling, FailureLogsAndGivesNothing) {
    LogCapture capture;
    auto source = bands(100, 50);
    Image empty(0, 0);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(imageByScalingAndCroppingForSize(empty, 60, 60), nullptr);
    EXPECT_EQ(imageByScalingAndCroppingForSize(*source, 0, 60), nullptr);
    EXPECT_EQ(imageByScalingAndCroppingForSize(*source, -5, 60), nullptr);
    EXPECT_EQ(imageByScalingAndCroppingForSize(*source, nan, 60), nullptr);
    EXPECT_EQ(imageByScalingAndCroppingForSize(*source, 1e9, 1e9), nullptr);
    EXPECT_EQ(imageByScalingByWidth(empty, 60), nullptr);
    EXPECT_EQ(imageByScalingByWidth(*source, 0), nullptr);
    EXPECT_EQ(imageByScalingByWidth(*source, std::numeric_limits<double>::infinity()), nullptr);
    EXPECT_NE(capture.text().find("could not scale image"), std::string::npos);
}

TEST(RoundedRect, CornersAreTransparentAndTheRestIsKept) {
    auto source = paint(40, 30, [](int, int) { return kRed; });
    auto rounded = createRoundedRectImage(*source, 8);
    ASSERT_NE(rounded, nullptr);
    EXPECT_EQ(rounded->pixelWidth(), 40);
    EXPECT_EQ(rounded->pixelHeight(), 30);
    for (auto [x, y] : {std::pair{0, 0}, {39, 0}, {0, 29}, {39, 29}, {1, 1}, {38, 28}}) {
        EXPECT_EQ(alphaOf(*rounded, x, y), 0u) << x << "," << y;
    }
    for (auto [x, y] : {std::pair{20, 15}, {20, 0}, {0, 15}, {39, 15}, {20, 29}, {4, 4}, {35, 25}}) {
        EXPECT_EQ(rounded->pixelAt(x, y), kRed) << x << "," << y;
    }

    auto square = createRoundedRectImage(*source, 0);
    EXPECT_EQ(square->pixelAt(0, 0), kRed);
    EXPECT_EQ(square->pixelAt(39, 29), kRed);

    // A radius beyond half the shorter side makes a stadium, not a broken path.
    auto pill = createRoundedRectImage(*source, 100);
    EXPECT_EQ(alphaOf(*pill, 0, 0), 0u);
    EXPECT_EQ(pill->pixelAt(20, 15), kRed);

    // The radius is in points: at scale 2 the corner spans twice the pixels.
    auto retina = paint(
        40, 40, [](int, int) { return kRed; }, 2);
    auto retinaRounded = createRoundedRectImage(*retina, 8);
    EXPECT_DOUBLE_EQ(retinaRounded->scale(), 2);
    EXPECT_EQ(alphaOf(*retinaRounded, 3, 3), 0u);
    EXPECT_EQ(retinaRounded->pixelAt(20, 20), kRed);

    Image empty(0, 0);
    EXPECT_EQ(createRoundedRectImage(empty, 8)->pixelWidth(), 0);
}

TEST(JpegSizeLimit, StepsDownUntilThePictureFits) {
    std::mt19937 random(7);
    auto noise = paint(500, 500, [&](int, int) { return 0xFF000000u | (random() & 0xFFFFFFu); });

    std::string data = JpegSizeLimit::encode(*noise, JpegSizeLimit::postQualities());
    ASSERT_FALSE(data.empty());
    EXPECT_LE(data.size(), JpegSizeLimit::kUploadLimitBytes);
    // It is the first step that fits: the step before it did not.
    auto steps = JpegSizeLimit::postQualities();
    std::size_t chosen = steps.size();
    for (std::size_t i = 0; i < steps.size(); ++i) {
        if (noise->jpegData(steps[i]) == data) {
            chosen = i;
            break;
        }
    }
    ASSERT_LT(chosen, steps.size());
    ASSERT_GT(chosen, 0u) << "noise this large should not fit at 0.9";
    EXPECT_GT(noise->jpegData(steps[chosen - 1]).size(), JpegSizeLimit::kUploadLimitBytes);

    // Nothing fits: the last step's data is sent all the same.
    EXPECT_EQ(JpegSizeLimit::encode(*noise, steps, 100), noise->jpegData(0.0));
    auto tenths = JpegSizeLimit::tenthStepQualities();
    ASSERT_EQ(tenths.size(), 9u);
    EXPECT_DOUBLE_EQ(tenths.back(), 0.1);
    EXPECT_EQ(JpegSizeLimit::encode(*noise, tenths, 100), noise->jpegData(0.1));

    // A small picture goes at the first quality.
    auto small = bands(40, 20);
    EXPECT_EQ(JpegSizeLimit::encode(*small, tenths), small->jpegData(0.9));
}

}  // namespace
}  // namespace zorlet
