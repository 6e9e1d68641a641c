#include "platform/Image.h"

#include "platform/PictureHeader.h"

#include <cairo.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstring>
#include <fstream>
#include <iterator>

#include <turbojpeg.h>

namespace zorlet {

namespace {

// Cairo's ARGB32 is a native-endian 32-bit word: B,G,R,A in memory on little endian.
constexpr TJPF kNativeArgb = std::endian::native == std::endian::little ? TJPF_BGRA : TJPF_ARGB;

// One TurboJPEG handle for one call: handles are cheap and not to be shared between threads.
class TurboJpeg {
public:
    explicit TurboJpeg(tjhandle handle) : handle_(handle) {}
    ~TurboJpeg() {
        if (handle_ != nullptr) {
            tjDestroy(handle_);
        }
    }
    TurboJpeg(const TurboJpeg&) = delete;
    TurboJpeg& operator=(const TurboJpeg&) = delete;
    tjhandle get() const { return handle_; }
    // A warning (a damaged but readable stream) still leaves a picture, as it always did.
    bool succeeded(int status) const { return status == 0 || tjGetErrorCode(handle_) == TJERR_WARNING; }

private:
    tjhandle handle_;
};

bool isJpeg(std::string_view bytes) {
    return bytes.size() > 3 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
           static_cast<unsigned char>(bytes[1]) == 0xD8 && static_cast<unsigned char>(bytes[2]) == 0xFF;
}

bool isPng(std::string_view bytes) {
    static constexpr char kSignature[] = "\x89PNG\r\n\x1a\n";
    return bytes.size() > 8 && std::memcmp(bytes.data(), kSignature, 8) == 0;
}

std::shared_ptr<Image> decodeJpeg(std::string_view bytes, double scale) {
    TurboJpeg decoder(tjInitDecompress());
    if (decoder.get() == nullptr) {
        return nullptr;
    }
    const auto* data = reinterpret_cast<const unsigned char*>(bytes.data());
    auto size = static_cast<unsigned long>(bytes.size());
    int width = 0;
    int height = 0;
    int subsampling = 0;
    int colorspace = 0;
    if (tjDecompressHeader3(decoder.get(), data, size, &width, &height, &subsampling, &colorspace) != 0) {
        return nullptr;
    }
    // The frame the decoder will produce, checked again in case it is not the one the header scan found.
    if (width <= 0 || height <= 0 ||
        !PictureHeader::withinBudget(
            {static_cast<std::uint32_t>(width), static_cast<std::uint32_t>(height)})) {
        return nullptr;
    }
    auto image = std::make_shared<Image>(width, height, scale);
    int status = tjDecompress2(decoder.get(), data, size, image->data(), width, image->stride(), height,
                               kNativeArgb, 0);
    return decoder.succeeded(status) ? image : nullptr;
}

struct PngReader {
    std::string_view bytes;
    std::size_t position = 0;
};

cairo_status_t readPngChunk(void* closure, unsigned char* out, unsigned int length) {
    auto* reader = static_cast<PngReader*>(closure);
    if (reader->bytes.size() - reader->position < length) {
        return CAIRO_STATUS_READ_ERROR;
    }
    std::memcpy(out, reader->bytes.data() + reader->position, length);
    reader->position += length;
    return CAIRO_STATUS_SUCCESS;
}

cairo_status_t appendPngChunk(void* closure, const unsigned char* data, unsigned int length) {
    static_cast<std::string*>(closure)->append(reinterpret_cast<const char*>(data), length);
    return CAIRO_STATUS_SUCCESS;
}

std::uint8_t unpremultiply(std::uint32_t channel, std::uint32_t alpha) {
    if (alpha == 0) {
        return 0;
    }
    return static_cast<std::uint8_t>(std::min<std::uint32_t>(255, (channel * 255 + alpha / 2) / alpha));
}

}  // namespace

Image::Image(int pixelWidth, int pixelHeight, double scale)
    : width_(std::max(0, pixelWidth)), height_(std::max(0, pixelHeight)), scale_(scale > 0 ? scale : 1.0) {
    stride_ = cairo_format_stride_for_width(CAIRO_FORMAT_ARGB32, std::max(1, width_));
    pixels_.assign(static_cast<std::size_t>(stride_) * height_, 0);
}

std::uint32_t Image::pixelAt(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        return 0;
    }
    std::uint32_t word;
    std::memcpy(&word, pixels_.data() + static_cast<std::size_t>(y) * stride_ + x * 4, 4);
    std::uint32_t a = word >> 24;
    std::uint32_t r = unpremultiply((word >> 16) & 0xFF, a);
    std::uint32_t g = unpremultiply((word >> 8) & 0xFF, a);
    std::uint32_t b = unpremultiply(word & 0xFF, a);
    return (a << 24) | (r << 16) | (g << 8) | b;
}

std::shared_ptr<Image> Image::decode(std::string_view bytes, double scale) {
    // A few hundred bytes can declare gigabytes of pixels: judge the size before taking memory.
    auto dimensions = PictureHeader::read(bytes);
    if (!dimensions || !PictureHeader::withinBudget(*dimensions)) {
        return nullptr;
    }
    if (isJpeg(bytes)) {
        return decodeJpeg(bytes, scale);
    }
    if (isPng(bytes)) {
        PngReader reader{bytes};
        cairo_surface_t* surface = cairo_image_surface_create_from_png_stream(readPngChunk, &reader);
        std::shared_ptr<Image> image;
        if (cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS) {
            image = fromCairoSurface(surface, scale);
        }
        cairo_surface_destroy(surface);
        return image;
    }
    return nullptr;
}

std::shared_ptr<Image> Image::fromFile(const std::string& path, double scale) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return nullptr;
    }
    std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    return decode(bytes, scale);
}

std::shared_ptr<Image> Image::fromCairoSurface(_cairo_surface* surface, double scale) {
    if (surface == nullptr || cairo_surface_get_type(surface) != CAIRO_SURFACE_TYPE_IMAGE ||
        cairo_surface_status(surface) != CAIRO_STATUS_SUCCESS) {
        return nullptr;
    }
    cairo_surface_flush(surface);
    auto image = std::make_shared<Image>(cairo_image_surface_get_width(surface),
                                         cairo_image_surface_get_height(surface), scale);
    if (cairo_image_surface_get_format(surface) == CAIRO_FORMAT_ARGB32) {
        const unsigned char* source = cairo_image_surface_get_data(surface);
        int sourceStride = cairo_image_surface_get_stride(surface);
        for (int y = 0; y < image->pixelHeight(); ++y) {
            std::memcpy(image->data() + static_cast<std::size_t>(y) * image->stride(),
                        source + static_cast<std::size_t>(y) * sourceStride,
                        static_cast<std::size_t>(image->pixelWidth()) * 4);
        }
        return image;
    }
    // Other formats (RGB24, A8, ...) are converted by painting them onto ARGB32.
    cairo_surface_t* target = image->createCairoSurface();
    cairo_t* cr = cairo_create(target);
    cairo_set_source_surface(cr, surface, 0, 0);
    cairo_set_operator(cr, CAIRO_OPERATOR_SOURCE);
    cairo_paint(cr);
    cairo_destroy(cr);
    cairo_surface_destroy(target);
    return image;
}

_cairo_surface* Image::createCairoSurface() {
    return cairo_image_surface_create_for_data(pixels_.data(), CAIRO_FORMAT_ARGB32, width_, height_, stride_);
}

std::string Image::pngData() const {
    if (width_ == 0 || height_ == 0) {
        return {};
    }
    // Cairo wants mutable pixels even to read them; write from a copy.
    std::vector<std::uint8_t> copy = pixels_;
    cairo_surface_t* surface =
        cairo_image_surface_create_for_data(copy.data(), CAIRO_FORMAT_ARGB32, width_, height_, stride_);
    std::string out = pngData(surface);
    cairo_surface_destroy(surface);
    return out;
}

std::string Image::pngData(_cairo_surface* surface) {
    std::string out;
    if (surface == nullptr ||
        cairo_surface_write_to_png_stream(surface, appendPngChunk, &out) != CAIRO_STATUS_SUCCESS) {
        out.clear();
    }
    return out;
}

std::string Image::jpegData(double quality) const {
    if (width_ == 0 || height_ == 0) {
        return {};
    }
    if (!std::isfinite(quality)) {
        quality = 1.0;
    }
    int jpegQuality = static_cast<int>(std::lround(std::clamp(quality, 0.0, 1.0) * 100.0));
    jpegQuality = std::max(1, jpegQuality);
    TurboJpeg encoder(tjInitCompress());
    if (encoder.get() == nullptr) {
        return {};
    }
    // Opaque rows: transparent areas come out over black, as premultiplied data does.
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    int status = tjCompress2(encoder.get(), pixels_.data(), width_, stride_, height_, kNativeArgb, &buffer,
                             &size, TJSAMP_420, jpegQuality, 0);
    std::string out;
    if (status == 0 && buffer != nullptr) {
        out.assign(reinterpret_cast<const char*>(buffer), size);
    }
    tjFree(buffer);
    return out;
}

}  // namespace zorlet
