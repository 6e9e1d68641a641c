#include "app/ScreenFactory.h"

#include "app/ScreenCatalog.h"
#include "platform/Log.h"

namespace zorlet {

ScreenFactory& ScreenFactory::shared() {
    static ScreenFactory factory;
    return factory;
}

void ScreenFactory::ensureCatalog() {
    // The catalog goes in first, so any later registration (a test's stand-in) wins.
    if (!catalogLoaded_) {
        catalogLoaded_ = true;
        ScreenCatalog::registerAll();
    }
}

void ScreenFactory::registerScreen(const std::string& className, Factory factory) {
    auto& self = shared();
    std::lock_guard lock(self.mutex_);
    self.ensureCatalog();
    self.factories_[className] = std::move(factory);
}

bool ScreenFactory::isRegistered(const std::string& className) {
    auto& self = shared();
    std::lock_guard lock(self.mutex_);
    self.ensureCatalog();
    return self.factories_.count(className) > 0;
}

std::shared_ptr<ViewController> ScreenFactory::create(const std::string& className, const Json& arguments) {
    auto& self = shared();
    Factory factory;
    {
        std::lock_guard lock(self.mutex_);
        self.ensureCatalog();
        if (auto it = self.factories_.find(className); it != self.factories_.end()) {
            factory = it->second;
        }
    }
    if (factory) {
        if (auto screen = factory(arguments)) {
            return screen;
        }
    }
    log().error("no screen named {}", className);
    return nullptr;
}

void ScreenFactory::resetToCatalog() {
    auto& self = shared();
    std::lock_guard lock(self.mutex_);
    self.factories_.clear();
    self.catalogLoaded_ = false;
    self.ensureCatalog();
}

}  // namespace zorlet
