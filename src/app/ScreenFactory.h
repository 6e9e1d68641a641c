#pragma once

#include "platform/Json.h"

#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>

namespace zorlet {

class ViewController;

// Makes the app's screens by class name, so the shell (first screen, tabs,
// pushed screens of the shell) does not depend on every screen's header.
// A name that no screen has registered gives nothing (and a line in the log).
class ScreenFactory {
public:
    // `arguments` carries what the screen needs to start (a provider id, a title).
    using Factory = std::function<std::shared_ptr<ViewController>(const Json& arguments)>;

    static void registerScreen(const std::string& className, Factory factory);
    static bool isRegistered(const std::string& className);
    static std::shared_ptr<ViewController> create(const std::string& className,
                                                  const Json& arguments = Json::object());
    // Test support: back to what the catalog registers.
    static void resetToCatalog();

private:
    static ScreenFactory& shared();
    ScreenFactory() = default;
    void ensureCatalog();

    std::recursive_mutex mutex_;
    bool catalogLoaded_ = false;
    std::map<std::string, Factory> factories_;
};

}  // namespace zorlet
