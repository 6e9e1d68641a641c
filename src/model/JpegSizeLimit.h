#pragma once

#include "platform/Image.h"

#include <cstddef>
#include <span>
#include <string>

namespace zorlet {

// Pictures are uploaded as JPEG of at most about a tenth of a mebibyte:
// encode at each quality in turn and keep the first result within the limit,
// or the last one tried when none is that small.
class JpegSizeLimit {
public:
    static constexpr std::size_t kUploadLimitBytes = 104857;

    // Post pictures: 0.9, 0.7, 0.5, 0.3, 0.1, then 0.
    static std::span<const double> postQualities();
    // Message pictures and profile photos: 0.9 down to 0.1 in steps of 0.1.
    static std::span<const double> tenthStepQualities();

    static std::string encode(const Image& image, std::span<const double> qualities,
                              std::size_t limitBytes = kUploadLimitBytes);
};

}  // namespace zorlet
