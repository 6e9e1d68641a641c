#pragma once

#include <string>

namespace zorlet {

// Facts about the app and the device that requests report to the server.
class Constant {
public:
    static std::string appVersion();
    // The marketing name of the device model, or empty for an unknown identifier.
    static std::string phoneType();
    static std::string phoneTypeForMachine(const std::string& machineIdentifier);
    // The hardware machine identifier: the operating system's machine field
    // unless the host set one (the desktop host plays a phone).
    static std::string machineIdentifier();
    static void setMachineIdentifier(std::string identifier);
};

}  // namespace zorlet
