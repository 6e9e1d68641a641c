#include "platform/PictureHeader.h"

#include <cstring>

namespace zorlet {

namespace {

std::uint32_t bigEndian(std::string_view bytes, std::size_t at, int width) {
    std::uint32_t value = 0;
    for (int i = 0; i < width; ++i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + i]);
    }
    return value;
}

std::optional<PictureDimensions> pngDimensions(std::string_view bytes) {
    static constexpr char kSignature[] = "\x89PNG\r\n\x1a\n";
    // The signature, then the first chunk, which must be the 13-byte IHDR.
    if (bytes.size() < 24 || std::memcmp(bytes.data(), kSignature, 8) != 0 || bigEndian(bytes, 8, 4) != 13 ||
        bytes.substr(12, 4) != "IHDR") {
        return std::nullopt;
    }
    return PictureDimensions{bigEndian(bytes, 16, 4), bigEndian(bytes, 20, 4)};
}

bool isFrameMarker(unsigned char marker) {
    // SOF0...SOF15, except DHT (C4), JPG (C8) and DAC (CC), which share the range.
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

std::optional<PictureDimensions> jpegDimensions(std::string_view bytes) {
    if (bytes.size() < 4 || static_cast<unsigned char>(bytes[0]) != 0xFF ||
        static_cast<unsigned char>(bytes[1]) != 0xD8) {
        return std::nullopt;
    }
    std::size_t at = 2;
    while (at < bytes.size()) {
        if (static_cast<unsigned char>(bytes[at]) != 0xFF) {
            return std::nullopt;
        }
        // Any number of fill bytes may precede a marker.
        while (at < bytes.size() && static_cast<unsigned char>(bytes[at]) == 0xFF) {
            ++at;
        }
        if (at >= bytes.size()) {
            return std::nullopt;
        }
        auto marker = static_cast<unsigned char>(bytes[at]);
        ++at;
        if (marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7)) {
            continue;  // markers without a segment
        }
        if (marker == 0xD9 || marker == 0xDA || at + 2 > bytes.size()) {
            return std::nullopt;  // image data or the end before any frame header
        }
        std::size_t length = bigEndian(bytes, at, 2);
        if (length < 2) {
            return std::nullopt;
        }
        if (isFrameMarker(marker)) {
            // Length, sample precision, height, width.
            if (length < 7 || at + 7 > bytes.size()) {
                return std::nullopt;
            }
            return PictureDimensions{bigEndian(bytes, at + 5, 2), bigEndian(bytes, at + 3, 2)};
        }
        at += length;
    }
    return std::nullopt;
}

}  // namespace

std::optional<PictureDimensions> PictureHeader::read(std::string_view bytes) {
    if (auto png = pngDimensions(bytes)) {
        return png;
    }
    return jpegDimensions(bytes);
}

bool PictureHeader::withinBudget(const PictureDimensions& dimensions) {
    return dimensions.width > 0 && dimensions.height > 0 &&
           static_cast<std::uint64_t>(dimensions.width) * dimensions.height <= kMaxPixels;
}

}  // namespace zorlet
