// Any bytes as a downloaded picture: the header scan must agree with the
// decoder, and nothing over the pixel budget may be decoded.
#include "platform/Image.h"
#include "platform/PictureHeader.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view bytes(reinterpret_cast<const char*>(data), size);
    auto dimensions = zorlet::PictureHeader::read(bytes);
    if (!dimensions || !zorlet::PictureHeader::withinBudget(*dimensions)) {
        if (zorlet::Image::decode(bytes)) {
            __builtin_trap();  // decoded without a header within the budget
        }
        return 0;
    }
    // Decoding within the budget is allowed but slow; the fuzzer decodes the smaller ones.
    if (static_cast<std::uint64_t>(dimensions->width) * dimensions->height > 1024 * 1024) {
        return 0;
    }
    auto image = zorlet::Image::decode(bytes);
    if (image && (static_cast<std::uint32_t>(image->pixelWidth()) != dimensions->width ||
                  static_cast<std::uint32_t>(image->pixelHeight()) != dimensions->height)) {
        __builtin_trap();  // the decoder read another size than the header scan
    }
    return 0;
}
