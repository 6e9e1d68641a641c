#include "SandboxFixture.h"

#include "sandbox/Pictures.h"

#include <chrono>

namespace zorlet::sandbox::test {

TEST(PictureBombTest, DeclaredSizesOverThePixelBudgetAreRefusedBeforeDecoding) {
    // 8000 x 8000 is a few hundred kilobytes of PNG that would decode to 256 MB.
    auto bomb = pngOfSize(8000, 8000);
    ASSERT_LT(bomb.size(), Pictures::maxBytes);
    auto started = std::chrono::steady_clock::now();
    EXPECT_FALSE(Pictures::check(bomb));
    EXPECT_LT(std::chrono::steady_clock::now() - started, std::chrono::milliseconds(200));
    EXPECT_FALSE(Pictures::check(pngOfSize(4097, 4096)));
    // A JPEG is not decoded here, but clients decode what is stored: the same budget applies.
    EXPECT_FALSE(Pictures::check(jpegDeclaring(6000, 6000)));
    EXPECT_FALSE(Pictures::check(jpegDeclaring(20000, 20000)));

    auto wide = Pictures::check(pngOfSize(8000, 16));
    ASSERT_TRUE(wide);
    EXPECT_EQ(wide->width, 8000);
    auto declared = Pictures::check(jpegDeclaring(4000, 3000));
    ASSERT_TRUE(declared);
    EXPECT_EQ(declared->width, 4000);
    EXPECT_EQ(declared->height, 3000);
}

TEST_F(SandboxTest, UploadedDecompressionBombsAreRefusedWithThePictureError) {
    auto client = newSignedInUser("传图的人");
    auto bomb = pngOfSize(8000, 8000);
    auto saved = client->postMultipart("/profile/save", {{"logo", bomb, "logo.png", "image/png"}});
    EXPECT_EQ(saved.status, 200);
    EXPECT_FALSE(saved.success());
    EXPECT_EQ(saved.body.value("errorCode", 0), 100011) << saved.text;
}

}  // namespace zorlet::sandbox::test
