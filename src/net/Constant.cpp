#include "net/Constant.h"

#include <sys/utsname.h>

#include <map>
#include <mutex>
#include <optional>

namespace zorlet {

namespace {

struct MachineOverride {
    std::mutex mutex;
    std::optional<std::string> identifier;
};

MachineOverride& machineOverride() {
    static MachineOverride* instance = new MachineOverride();
    return *instance;
}

}  // namespace

std::string Constant::appVersion() {
    return ZORLET_VERSION;
}

std::string Constant::phoneTypeForMachine(const std::string& machine) {
    static const std::map<std::string, std::string> models = {
        {"iPhone1,1", "iPhone"},    {"iPhone1,2", "iPhone 3G"}, {"iPhone2,1", "iPhone 3GS"},
        {"iPhone3,1", "iPhone 4"},  {"iPhone3,2", "iPhone 4"},  {"iPhone3,3", "iPhone 4"},
        {"iPhone4,1", "iPhone 4S"}, {"iPhone5,1", "iPhone 5"},  {"iPhone5,2", "iPhone 5"},
        {"iPhone5,3", "iPhone 5"},  {"iPod1,1", "iPod Touch1"}, {"iPod2,1", "iPod Touch2"},
        {"iPod3,1", "iPod Touch3"}, {"iPod4,1", "iPod Touch4"}, {"iPod5,1", "iPod Touch5"},
        {"iPad1,1", "iPad1"},       {"iPad2,1", "iPad2"},       {"iPad2,2", "iPad2"},
        {"iPad2,3", "iPad2"},       {"iPad2,5", "iPad Mini"},   {"iPad2,6", "iPad Mini"},
        {"iPad3,1", "iPad3"},       {"iPad3,2", "iPad3"},       {"iPad3,3", "iPad3"},
        {"iPad3,6", "iPad4"},
    };
    auto it = models.find(machine);
    return it == models.end() ? std::string() : it->second;
}

std::string Constant::machineIdentifier() {
    {
        auto& o = machineOverride();
        std::lock_guard lock(o.mutex);
        if (o.identifier) {
            return *o.identifier;
        }
    }
    utsname name{};
    if (::uname(&name) != 0) {
        return {};
    }
    return name.machine;
}

void Constant::setMachineIdentifier(std::string identifier) {
    auto& o = machineOverride();
    std::lock_guard lock(o.mutex);
    o.identifier = std::move(identifier);
}

std::string Constant::phoneType() {
    return phoneTypeForMachine(machineIdentifier());
}

}  // namespace zorlet
