#include "platform/Image.h"

#include <cairo.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>

using namespace zorlet;

namespace {

// A 40 × 30 picture: left half opaque red, right half half-transparent blue.
std::shared_ptr<Image> sample() {
    auto image = std::make_shared<Image>(40, 30, 2.0);
    cairo_surface_t* surface = image->createCairoSurface();
    cairo_t* cr = cairo_create(surface);
    cairo_set_source_rgba(cr, 1, 0, 0, 1);
    cairo_rectangle(cr, 0, 0, 20, 30);
    cairo_fill(cr);
    cairo_set_source_rgba(cr, 0, 0, 1, 0.5);
    cairo_rectangle(cr, 20, 0, 20, 30);
    cairo_fill(cr);
    cairo_destroy(cr);
    cairo_surface_destroy(surface);
    return image;
}

int channel(std::uint32_t argb, int shift) {
    return static_cast<int>((argb >> shift) & 0xFF);
}

TEST(ImageTest, SizesInPointsFollowTheScale) {
    auto image = sample();
    EXPECT_EQ(image->pixelWidth(), 40);
    EXPECT_DOUBLE_EQ(image->width(), 20);
    EXPECT_DOUBLE_EQ(image->height(), 15);
    EXPECT_GE(image->stride(), 160);
    // pixelAt undoes the premultiplication.
    EXPECT_EQ(image->pixelAt(5, 5), 0xFFFF0000u);
    std::uint32_t blue = image->pixelAt(30, 5);
    EXPECT_NEAR(channel(blue, 24), 128, 1);
    EXPECT_GE(channel(blue, 0), 254);
    EXPECT_EQ(image->pixelAt(-1, 0), 0u);
    EXPECT_EQ(image->pixelAt(40, 0), 0u);
}

TEST(ImageTest, PngKeepsEveryPixelAndItsAlpha) {
    auto image = sample();
    std::string png = image->pngData();
    ASSERT_GT(png.size(), 8u);
    auto decoded = Image::decode(png, 2.0);
    ASSERT_NE(decoded, nullptr);
    EXPECT_EQ(decoded->pixelWidth(), 40);
    EXPECT_EQ(decoded->pixelHeight(), 30);
    EXPECT_DOUBLE_EQ(decoded->scale(), 2.0);
    for (int y = 0; y < 30; y += 7) {
        for (int x = 0; x < 40; x += 3) {
            EXPECT_EQ(decoded->pixelAt(x, y), image->pixelAt(x, y)) << x << "," << y;
        }
    }
}

TEST(ImageTest, JpegQualityTradesSizeForFidelity) {
    auto image = std::make_shared<Image>(64, 64);
    // A gradient gives the encoder something to lose.
    for (int y = 0; y < 64; ++y) {
        for (int x = 0; x < 64; ++x) {
            std::uint32_t pixel = 0xFF000000u | (static_cast<std::uint32_t>(x * 4) << 16) |
                                  (static_cast<std::uint32_t>(y * 4) << 8) | 0x40u;
            std::memcpy(image->data() + y * image->stride() + x * 4, &pixel, 4);
        }
    }
    std::string best = image->jpegData(1.0);
    std::string worst = image->jpegData(0.0);
    ASSERT_FALSE(best.empty());
    ASSERT_FALSE(worst.empty());
    EXPECT_LT(worst.size(), best.size());
    EXPECT_EQ(static_cast<unsigned char>(best[0]), 0xFF);
    EXPECT_EQ(static_cast<unsigned char>(best[1]), 0xD8);

    auto decoded = Image::decode(best);
    ASSERT_NE(decoded, nullptr);
    EXPECT_EQ(decoded->pixelWidth(), 64);
    std::uint32_t original = image->pixelAt(40, 20);
    std::uint32_t copy = decoded->pixelAt(40, 20);
    for (int shift : {0, 8, 16}) {
        EXPECT_NEAR(channel(copy, shift), channel(original, shift), 6);
    }
    EXPECT_EQ(channel(copy, 24), 255);
    // Out-of-range qualities are clamped rather than rejected.
    EXPECT_FALSE(image->jpegData(7.5).empty());
    EXPECT_FALSE(image->jpegData(-1).empty());
}

TEST(ImageTest, BytesThatAreNotAPictureDecodeToNothing) {
    EXPECT_EQ(Image::decode(""), nullptr);
    EXPECT_EQ(Image::decode("GIF89a......"), nullptr);
    EXPECT_EQ(Image::decode("\x89PNG\r\n\x1a\n broken"), nullptr);
    std::string jpeg = sample()->jpegData(0.8);
    // A cut-off JPEG fails cleanly (no crash, no exit from inside the codec).
    EXPECT_EQ(Image::decode(std::string_view(jpeg).substr(0, 20)), nullptr);
    std::string corrupt = jpeg;
    for (std::size_t i = 200; i < corrupt.size() && i < 400; ++i) {
        corrupt[i] = static_cast<char>(0xFF);
    }
    Image::decode(corrupt);  // may or may not decode, must not crash
    EXPECT_EQ(Image::fromFile("/nonexistent/picture.png"), nullptr);
}

}  // namespace
