#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace zorlet {

struct PictureDimensions {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
};

// The size a JPEG or PNG declares in its header, read without decoding, so
// that a small file claiming a huge picture is refused before any pixel
// memory is taken.
class PictureHeader {
public:
    // Decoding allocates four bytes per pixel: 16 Mpx is 64 MiB.
    static constexpr std::uint64_t kMaxPixels = 16ull * 1024 * 1024;

    // Nothing when the bytes are neither a JPEG nor a PNG with a readable header.
    static std::optional<PictureDimensions> read(std::string_view bytes);
    // Not empty, and no more than kMaxPixels.
    static bool withinBudget(const PictureDimensions& dimensions);
};

}  // namespace zorlet
