#pragma once

#include <string>
#include <string_view>

namespace zorlet {

// What the device says about its system. The client runs where every
// feature of a current phone system exists, so it answers a modern version
// and code that branches on older versions takes the current path.
class Device {
public:
    static std::string systemVersion();

    // Compares dotted versions number by number ("6.0" < "6.0.1" < "10.2"),
    // missing parts counting as 0; negative, zero or positive. Parts that are
    // not numbers count as 0, so odd text never throws.
    static int compareVersions(std::string_view a, std::string_view b);
    static bool systemVersionAtLeast(std::string_view version);
};

}  // namespace zorlet
