#include "platform/Image.h"
#include "platform/ImageDiskCache.h"
#include "platform/MainLoop.h"
#include "platform/PictureHeader.h"
#include "platform/WebImageLoader.h"

#include "support/LoopTest.h"
#include "support/ScriptedServer.h"

#include <zlib.h>

#include <atomic>
#include <chrono>
#include <filesystem>
#include <thread>

namespace zorlet::test {
namespace {

using namespace std::chrono_literals;

void putBigEndian(std::string& bytes, std::size_t at, std::uint32_t value, int width) {
    for (int i = 0; i < width; ++i) {
        bytes[at + i] = static_cast<char>((value >> (8 * (width - 1 - i))) & 0xFF);
    }
}

// A real small JPEG whose frame header then claims another size, as a hostile server would send it.
std::string jpegClaiming(std::uint32_t width, std::uint32_t height) {
    std::string jpeg = Image(16, 16).jpegData(0.8);
    for (std::size_t i = 2; i + 8 < jpeg.size(); ++i) {
        if (static_cast<unsigned char>(jpeg[i]) == 0xFF && static_cast<unsigned char>(jpeg[i + 1]) == 0xC0) {
            putBigEndian(jpeg, i + 5, height, 2);
            putBigEndian(jpeg, i + 7, width, 2);
            return jpeg;
        }
    }
    ADD_FAILURE() << "no frame header";
    return jpeg;
}

// The same for a PNG, with the header's checksum made right again.
std::string pngClaiming(std::uint32_t width, std::uint32_t height) {
    std::string png = Image(16, 16).pngData();
    putBigEndian(png, 16, width, 4);
    putBigEndian(png, 20, height, 4);
    auto crc = crc32(0, reinterpret_cast<const Bytef*>(png.data() + 12), 17);
    putBigEndian(png, 29, static_cast<std::uint32_t>(crc), 4);
    return png;
}

TEST(PictureBudget, HeadersGiveTheDeclaredSizeWithoutDecoding) {
    auto jpeg = PictureHeader::read(jpegClaiming(20000, 20000));
    ASSERT_TRUE(jpeg);
    EXPECT_EQ(jpeg->width, 20000u);
    EXPECT_EQ(jpeg->height, 20000u);
    auto png = PictureHeader::read(pngClaiming(8000, 8000));
    ASSERT_TRUE(png);
    EXPECT_EQ(png->width, 8000u);
    EXPECT_FALSE(PictureHeader::read(""));
    EXPECT_FALSE(PictureHeader::read("GIF89a"));
    EXPECT_FALSE(PictureHeader::read(jpegClaiming(20000, 20000).substr(0, 30)));
    EXPECT_TRUE(PictureHeader::withinBudget(*PictureHeader::read(jpegClaiming(4096, 4096))));
    EXPECT_FALSE(PictureHeader::withinBudget(*jpeg));
    EXPECT_FALSE(PictureHeader::withinBudget({0, 10}));
}

TEST(PictureBudget, PicturesOverThePixelBudgetAreRefusedBeforeDecoding) {
    auto started = std::chrono::steady_clock::now();
    EXPECT_EQ(Image::decode(jpegClaiming(5000, 4000)), nullptr);
    EXPECT_EQ(Image::decode(pngClaiming(5000, 4000)), nullptr);
    EXPECT_EQ(Image::decode(jpegClaiming(20000, 20000)), nullptr);
    EXPECT_EQ(Image::decode(pngClaiming(65535, 65535)), nullptr);
    EXPECT_LT(std::chrono::steady_clock::now() - started, 2s);
    // A sound picture still decodes.
    auto small = Image::decode(Image(64, 48).pngData());
    ASSERT_TRUE(small);
    EXPECT_EQ(small->pixelWidth(), 64);
}

class WebPictureTest : public ::testing::Test {
protected:
    void SetUp() override { std::filesystem::remove_all(folder_); }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    void servePicture(const std::string& path, int side) {
        std::string png = Image(side, side).pngData();
        server_.on(path, [png](const RecordedRequest&, Reply& reply) {
            reply.body = png;
            reply.contentType = "image/png";
        });
    }
    ImagePtr load(WebImageLoader& loader, const std::string& path, std::string* reason = nullptr) {
        ImagePtr image;
        bool done = false;
        loader.downloadWithURL(
            server_.url(path),
            [&](const ImagePtr& loaded) {
                image = loaded;
                done = true;
            },
            [&](const std::string& why) {
                if (reason) {
                    *reason = why;
                }
                done = true;
            });
        EXPECT_TRUE(waitUntil([&] { return done; }));
        return image;
    }

    std::filesystem::path folder_ =
        std::filesystem::temp_directory_path() / ("zorlet-picture-budget-" + std::to_string(::getpid()));
    ImageDiskCache disk_{folder_};
    ScriptedServer server_;
};

TEST_F(WebPictureTest, DownloadedPicturesAreDecodedOffTheMainLoop) {
    std::atomic<bool> onLoopThread{true};
    WebImageLoader loader(disk_, [&](std::string_view bytes) {
        onLoopThread = MainLoop::main().isLoopThread();
        return Image::decode(bytes);
    });
    servePicture("/a.png", 8);
    ASSERT_TRUE(load(loader, "/a.png"));
    EXPECT_FALSE(onLoopThread.load());
    // From the disk cache too.
    onLoopThread = true;
    loader.clearMemory();
    ASSERT_TRUE(load(loader, "/a.png"));
    EXPECT_FALSE(onLoopThread.load());
    EXPECT_EQ(server_.countOf("/a.png"), 1u);
}

TEST_F(WebPictureTest, AHostilePictureFailsWithoutTakingTheMemory) {
    WebImageLoader loader(disk_);
    std::string bomb = jpegClaiming(20000, 20000);
    server_.on("/bomb.jpg", [bomb](const RecordedRequest&, Reply& reply) {
        reply.body = bomb;
        reply.contentType = "image/jpeg";
    });
    std::string reason;
    EXPECT_FALSE(load(loader, "/bomb.jpg", &reason));
    EXPECT_FALSE(reason.empty());
    EXPECT_EQ(disk_.fileCount(), 0u);
}

TEST_F(WebPictureTest, TheMemoryCacheIsBoundedByBytes) {
    WebImageLoader loader(disk_);
    const std::size_t onePicture = static_cast<std::size_t>(Image(100, 100).stride()) * 100;
    loader.setMemoryCapacityBytes(3 * onePicture);
    for (int i = 0; i < 4; ++i) {
        servePicture("/p" + std::to_string(i), 100);
        ASSERT_TRUE(load(loader, "/p" + std::to_string(i)));
    }
    EXPECT_LE(loader.memoryCacheBytes(), 3 * onePicture);
    EXPECT_FALSE(loader.cachedImage(server_.url("/p0")));
    EXPECT_TRUE(loader.cachedImage(server_.url("/p3")));

    // One picture bigger than the whole cache is delivered but not kept.
    servePicture("/big", 200);
    ASSERT_TRUE(load(loader, "/big"));
    EXPECT_FALSE(loader.cachedImage(server_.url("/big")));
    EXPECT_TRUE(loader.cachedImage(server_.url("/p3")));
}

}  // namespace
}  // namespace zorlet::test
