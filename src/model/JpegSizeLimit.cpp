#include "model/JpegSizeLimit.h"

#include <array>

namespace zorlet {

std::span<const double> JpegSizeLimit::postQualities() {
    static constexpr std::array<double, 6> qualities{0.9, 0.7, 0.5, 0.3, 0.1, 0.0};
    return qualities;
}

std::span<const double> JpegSizeLimit::tenthStepQualities() {
    // Written out rather than stepped by subtraction, which drifts below 0.1 and adds a tenth attempt.
    static constexpr std::array<double, 9> qualities{0.9, 0.8, 0.7, 0.6, 0.5, 0.4, 0.3, 0.2, 0.1};
    return qualities;
}

std::string JpegSizeLimit::encode(const Image& image, std::span<const double> qualities,
                                  std::size_t limitBytes) {
    std::string data;
    for (double quality : qualities) {
        data = image.jpegData(quality);
        if (data.size() <= limitBytes) {
            break;
        }
    }
    return data;
}

}  // namespace zorlet
