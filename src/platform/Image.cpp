#include "platform/Image.h"

#include "platform/PictureHeader.h"

#include <cairo.h>

#include <algorithm>
#include <bit>
#include <cmath>
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iterator>

// jpeglib.h needs FILE and size_t declared first.
#include <jpeglib.h>

namespace zorlet {

namespace {

// libjpeg reports fatal errors through error_exit; we jump back to the caller
// instead of letting it call exit(). The functions that call setjmp keep no
// C++ objects with destructors alive across the jump.
struct JpegErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
};

void jpegErrorExit(j_common_ptr info) {
    auto* manager = reinterpret_cast<JpegErrorManager*>(info->err);
    std::longjmp(manager->jump, 1);
}

void jpegSilence(j_common_ptr, int) {}

constexpr J_COLOR_SPACE nativeArgbSpace() {
    // Cairo's ARGB32 is a native-endian 32-bit word: B,G,R,A in memory on little endian.
    return std::endian::native == std::endian::little ? JCS_EXT_BGRA : JCS_EXT_ARGB;
}

bool isJpeg(std::string_view bytes) {
    return bytes.size() > 3 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
           static_cast<unsigned char>(bytes[1]) == 0xD8 && static_cast<unsigned char>(bytes[2]) == 0xFF;
}

bool isPng(std::string_view bytes) {
    static constexpr char kSignature[] = "\x89PNG\r\n\x1a\n";
    return bytes.size() > 8 && std::memcmp(bytes.data(), kSignature, 8) == 0;
}

// Returns false on a corrupt stream; `image` is then left unset.
bool decodeJpegInto(const unsigned char* data, unsigned long size, double scale,
                    std::shared_ptr<Image>& image) {
    jpeg_decompress_struct info;
    JpegErrorManager error;
    info.err = jpeg_std_error(&error.base);
    error.base.error_exit = jpegErrorExit;
    error.base.emit_message = jpegSilence;
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, data, size);
    jpeg_read_header(&info, TRUE);
    // The frame libjpeg will decode, checked again in case it is not the one the header scan found.
    if (!PictureHeader::withinBudget({info.image_width, info.image_height})) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    info.out_color_space = nativeArgbSpace();
    jpeg_start_decompress(&info);
    // Allocating may throw; do it where a longjmp can no longer skip its destructor.
    auto* target =
        new Image(static_cast<int>(info.output_width), static_cast<int>(info.output_height), scale);
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = target->data() + static_cast<std::size_t>(info.output_scanline) * target->stride();
        if (setjmp(error.jump)) {
            delete target;
            jpeg_destroy_decompress(&info);
            return false;
        }
        jpeg_read_scanlines(&info, &row, 1);
    }
    if (setjmp(error.jump)) {
        delete target;
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    image.reset(target);
    return true;
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
        std::shared_ptr<Image> image;
        decodeJpegInto(reinterpret_cast<const unsigned char*>(bytes.data()),
                       static_cast<unsigned long>(bytes.size()), scale, image);
        return image;
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
    std::string out;
    if (cairo_surface_write_to_png_stream(surface, appendPngChunk, &out) != CAIRO_STATUS_SUCCESS) {
        out.clear();
    }
    cairo_surface_destroy(surface);
    return out;
}

namespace {

// Encodes opaque rows; transparent areas come out over black, as premultiplied data does.
bool encodeJpeg(const std::uint8_t* pixels, int width, int height, int stride, int quality,
                unsigned char** out, unsigned long* outSize) {
    jpeg_compress_struct info;
    JpegErrorManager error;
    info.err = jpeg_std_error(&error.base);
    error.base.error_exit = jpegErrorExit;
    error.base.emit_message = jpegSilence;
    if (setjmp(error.jump)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, out, outSize);
    info.image_width = static_cast<JDIMENSION>(width);
    info.image_height = static_cast<JDIMENSION>(height);
    info.input_components = 4;
    info.in_color_space = nativeArgbSpace();
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        auto* row = const_cast<JSAMPROW>(pixels + static_cast<std::size_t>(info.next_scanline) * stride);
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

}  // namespace

std::string Image::jpegData(double quality) const {
    if (width_ == 0 || height_ == 0) {
        return {};
    }
    if (!std::isfinite(quality)) {
        quality = 1.0;
    }
    int libjpegQuality = static_cast<int>(std::lround(std::clamp(quality, 0.0, 1.0) * 100.0));
    libjpegQuality = std::max(1, libjpegQuality);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    bool ok = encodeJpeg(pixels_.data(), width_, height_, stride_, libjpegQuality, &buffer, &size);
    std::string out;
    if (ok && buffer != nullptr) {
        out.assign(reinterpret_cast<const char*>(buffer), size);
    }
    std::free(buffer);
    return out;
}

}  // namespace zorlet
