#include "platform/SvgRasterizer.h"

#include <gtest/gtest.h>

#include <string>

namespace zorlet {
namespace {

// 20 x 10 points: the left half red, the right half empty.
const std::string kHalfRed =
    R"(<svg xmlns="http://www.w3.org/2000/svg" width="20" height="10" viewBox="0 0 20 10">)"
    R"(<rect width="10" height="10" fill="#FF0000"/></svg>)";

std::uint32_t argb(const Image& image, int x, int y) {
    return image.pixelAt(x, y);
}

TEST(SvgRasterizerTest, DrawsAtTheAskedScaleWithTheDocumentsSizeInPoints) {
    SvgRasterizer::Loaded loaded = SvgRasterizer::fromData(kHalfRed);
    ASSERT_TRUE(loaded.rasterizer) << loaded.error;
    EXPECT_EQ(loaded.rasterizer->width(), 20);
    EXPECT_EQ(loaded.rasterizer->height(), 10);

    for (double scale : {1.0, 2.0, 3.0}) {
        ImagePtr image = loaded.rasterizer->rasterize(scale);
        ASSERT_TRUE(image);
        EXPECT_EQ(image->pixelWidth(), static_cast<int>(20 * scale));
        EXPECT_EQ(image->pixelHeight(), static_cast<int>(10 * scale));
        EXPECT_EQ(image->width(), 20);  // points, whatever the scale
        EXPECT_EQ(argb(*image, 1, 1), 0xFFFF0000u);
        EXPECT_EQ(argb(*image, image->pixelWidth() - 2, 1) >> 24, 0u);  // transparent
    }
    // Each scale is rasterised once.
    EXPECT_EQ(loaded.rasterizer->rasterize(2), loaded.rasterizer->rasterize(2));
}

TEST(SvgRasterizerTest, RefusesWhatIsNotDrawableArtwork) {
    EXPECT_FALSE(SvgRasterizer::fromData("").rasterizer);
    EXPECT_FALSE(SvgRasterizer::fromData("<svg").rasterizer);
    EXPECT_FALSE(SvgRasterizer::fromData("\x89PNG\r\n\x1a\n garbage").rasterizer);
    // Without an absolute size there is no size in points.
    auto relative = SvgRasterizer::fromData(
        R"(<svg xmlns="http://www.w3.org/2000/svg" width="100%" height="100%"><rect width="5" height="5"/></svg>)");
    EXPECT_FALSE(relative.rasterizer);
    EXPECT_FALSE(relative.error.empty());
    // A size no picture of ours has would only exhaust memory.
    EXPECT_FALSE(SvgRasterizer::fromData(
                     R"(<svg xmlns="http://www.w3.org/2000/svg" width="100000" height="100000"></svg>)")
                     .rasterizer);
    auto missing = SvgRasterizer::fromFile("/nonexistent/zorlet/picture.svg");
    EXPECT_FALSE(missing.rasterizer);
    EXPECT_NE(missing.error.find("/nonexistent/zorlet/picture.svg"), std::string::npos);

    auto loaded = SvgRasterizer::fromData(kHalfRed);
    ASSERT_TRUE(loaded.rasterizer);
    EXPECT_FALSE(loaded.rasterizer->rasterize(0));
    EXPECT_FALSE(loaded.rasterizer->rasterize(-1));
    EXPECT_FALSE(loaded.rasterizer->rasterize(1000));  // beyond any screen
}

}  // namespace
}  // namespace zorlet
