#include "model/TextLength.h"

namespace zorlet {

namespace {

// Length of the UTF-8 sequence starting with `lead`, or 0 when `lead` cannot start one.
std::size_t sequenceLength(unsigned char lead) {
    if (lead < 0x80) {
        return 1;
    }
    if (lead >= 0xC2 && lead <= 0xDF) {
        return 2;
    }
    if (lead >= 0xE0 && lead <= 0xEF) {
        return 3;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        return 4;
    }
    return 0;
}

}  // namespace

std::size_t chineseLength(std::string_view utf8) {
    std::size_t units = 0;
    std::size_t i = 0;
    while (i < utf8.size()) {
        auto lead = static_cast<unsigned char>(utf8[i]);
        std::size_t length = sequenceLength(lead);
        bool complete = length > 0 && i + length <= utf8.size();
        for (std::size_t k = 1; complete && k < length; ++k) {
            complete = (static_cast<unsigned char>(utf8[i + k]) & 0xC0) == 0x80;
        }
        if (!complete) {
            units += 2;
            ++i;
            continue;
        }
        if (length == 1) {
            units += 1;
        } else if (length == 4) {
            units += 4;  // two UTF-16 code units, both above 127
        } else {
            units += 2;
        }
        i += length;
    }
    return units;
}

}  // namespace zorlet
