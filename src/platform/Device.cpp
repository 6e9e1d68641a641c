#include "platform/Device.h"

#include <charconv>
#include <limits>

namespace zorlet {

namespace {

// The next number of a dotted version, moving `text` past it and its dot.
long long nextPart(std::string_view& text) {
    std::size_t dot = text.find('.');
    std::string_view part = text.substr(0, dot);
    text = dot == std::string_view::npos ? std::string_view() : text.substr(dot + 1);
    long long value = 0;
    auto [ptr, ec] = std::from_chars(part.data(), part.data() + part.size(), value);
    if (ec == std::errc::result_out_of_range) {
        return std::numeric_limits<long long>::max();
    }
    return ec == std::errc() && ptr == part.data() + part.size() ? value : 0;
}

}  // namespace

std::string Device::systemVersion() {
    return "17.0";
}

int Device::compareVersions(std::string_view a, std::string_view b) {
    while (!a.empty() || !b.empty()) {
        long long left = nextPart(a);
        long long right = nextPart(b);
        if (left != right) {
            return left < right ? -1 : 1;
        }
    }
    return 0;
}

bool Device::systemVersionAtLeast(std::string_view version) {
    return compareVersions(systemVersion(), version) >= 0;
}

}  // namespace zorlet
