#include "sandbox/Pictures.h"

#include "sandbox/ConcurrencyLimit.h"
#include "sandbox/Connection.h"
#include "sandbox/Passwords.h"
#include "sandbox/TextRules.h"

#include "platform/AtomicFile.h"

#include <cairo.h>
#include <jpeglib.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <ctime>

namespace zorlet::sandbox {

namespace {

struct JpegErrorTrap {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

void jpegFailed(j_common_ptr info) {
    std::longjmp(reinterpret_cast<JpegErrorTrap*>(info->err)->jump, 1);
}

void jpegQuiet(j_common_ptr, int) {}

// Plain C flow only between setjmp and longjmp: nothing here has a destructor.
bool readJpegHeader(const unsigned char* bytes, unsigned long size, int* width, int* height) {
    jpeg_decompress_struct info;
    JpegErrorTrap trap;
    info.err = jpeg_std_error(&trap.manager);
    trap.manager.error_exit = jpegFailed;
    trap.manager.emit_message = jpegQuiet;
    if (setjmp(trap.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, bytes, size);
    bool ok = jpeg_read_header(&info, TRUE) == JPEG_HEADER_OK;
    if (ok) {
        jpeg_calc_output_dimensions(&info);
        *width = static_cast<int>(info.image_width);
        *height = static_cast<int>(info.image_height);
    }
    jpeg_destroy_decompress(&info);
    return ok;
}

struct PngSource {
    std::string_view bytes;
    size_t offset = 0;
};

cairo_status_t readPng(void* closure, unsigned char* data, unsigned int length) {
    auto* source = static_cast<PngSource*>(closure);
    if (source->bytes.size() - source->offset < length) {
        return CAIRO_STATUS_READ_ERROR;
    }
    std::copy_n(source->bytes.data() + source->offset, length, data);
    source->offset += length;
    return CAIRO_STATUS_SUCCESS;
}

std::uint32_t bigEndian32(std::string_view bytes, size_t at) {
    auto byte = [&](size_t i) {
        return static_cast<std::uint32_t>(static_cast<unsigned char>(bytes[at + i]));
    };
    return byte(0) << 24 | byte(1) << 16 | byte(2) << 8 | byte(3);
}

bool saneSize(std::int64_t width, std::int64_t height) {
    return width > 0 && height > 0 && width <= Pictures::maxSide && height <= Pictures::maxSide &&
           width * height <= Pictures::maxPixels;
}

ConcurrencyLimit& decoding() {
    static ConcurrencyLimit limit(Pictures::concurrentDecodes);
    return limit;
}

}  // namespace

int Pictures::peakConcurrentDecodes() {
    return decoding().peak();
}

std::optional<Pictures::Checked> Pictures::check(std::string_view bytes) {
    if (bytes.empty() || bytes.size() > maxBytes) {
        return std::nullopt;
    }
    static constexpr std::string_view pngSignature = "\x89PNG\r\n\x1a\n";
    if (bytes.size() >= 3 && static_cast<unsigned char>(bytes[0]) == 0xFF &&
        static_cast<unsigned char>(bytes[1]) == 0xD8 && static_cast<unsigned char>(bytes[2]) == 0xFF) {
        int width = 0;
        int height = 0;
        if (!readJpegHeader(reinterpret_cast<const unsigned char*>(bytes.data()),
                            static_cast<unsigned long>(bytes.size()), &width, &height)) {
            return std::nullopt;
        }
        if (!saneSize(width, height)) {
            return std::nullopt;
        }
        return Checked{Kind::Jpeg, width, height};
    }
    if (bytes.size() >= 24 && bytes.substr(0, 8) == pngSignature && bytes.substr(12, 4) == "IHDR") {
        // Look at the declared size before decoding, so a tiny file cannot ask for gigabytes.
        auto width = bigEndian32(bytes, 16);
        auto height = bigEndian32(bytes, 20);
        if (!saneSize(width, height)) {
            return std::nullopt;
        }
        PngSource source{bytes};
        auto permit = decoding().enter();
        auto* surface = cairo_image_surface_create_from_png_stream(readPng, &source);
        bool ok = cairo_surface_status(surface) == CAIRO_STATUS_SUCCESS;
        cairo_surface_destroy(surface);
        if (!ok) {
            return std::nullopt;
        }
        return Checked{Kind::Png, static_cast<int>(width), static_cast<int>(height)};
    }
    return std::nullopt;
}

std::optional<std::string> Pictures::store(Connection& connection, std::string_view bytes,
                                           const Checked& checked, std::optional<std::int64_t> uid) {
    auto name = Passwords::randomHex(16) + (checked.kind == Kind::Jpeg ? ".jpg" : ".png");
    if (!AtomicFile::write(folder_ / name, bytes).empty()) {
        return std::nullopt;
    }
    connection
        .prepare("INSERT INTO pictures (name, uid, content_type, bytes, created) VALUES (?, ?, ?, ?, ?)")
        .bind(1, name)
        .bind(2, uid)
        .bind(3, contentTypeOf(name))
        .bind(4, static_cast<std::int64_t>(bytes.size()))
        .bind(5, static_cast<std::int64_t>(std::time(nullptr)))
        .run();
    return name;
}

std::optional<std::filesystem::path> Pictures::fileOf(const std::string& name) const {
    // Only names of the form the service creates: 32 hex digits and a known extension.
    if (name.size() != 36 || !TextRules::isHex(std::string_view(name).substr(0, 32))) {
        return std::nullopt;
    }
    auto extension = name.substr(32);
    if (extension != ".jpg" && extension != ".png") {
        return std::nullopt;
    }
    auto path = folder_ / name;
    std::error_code error;
    if (!std::filesystem::is_regular_file(path, error)) {
        return std::nullopt;
    }
    return path;
}

void Pictures::removeAll() {
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder_, error)) {
        if (fileOf(entry.path().filename().string())) {
            std::filesystem::remove(entry.path(), error);
        }
    }
}

std::string Pictures::contentTypeOf(const std::string& name) {
    return name.ends_with(".png") ? "image/png" : "image/jpeg";
}

std::string Pictures::url(const std::string& baseUrl, const std::string& name) {
    if (name.empty()) {
        return {};
    }
    return baseUrl + "/pictures/" + name;
}

}  // namespace zorlet::sandbox
