#include "ui/MissingImageRegistry.h"

namespace zorlet {

MissingImageRegistry& MissingImageRegistry::shared() {
    static MissingImageRegistry instance;
    return instance;
}

void MissingImageRegistry::noteAsked(const std::string& name) {
    std::lock_guard lock(mutex_);
    asked_.insert(name);
}

void MissingImageRegistry::noteDrawn(const std::string& name) {
    std::lock_guard lock(mutex_);
    drawn_.insert(name);
}

std::set<std::string> MissingImageRegistry::asked() const {
    std::lock_guard lock(mutex_);
    return asked_;
}

std::set<std::string> MissingImageRegistry::drawn() const {
    std::lock_guard lock(mutex_);
    return drawn_;
}

void MissingImageRegistry::clear() {
    std::lock_guard lock(mutex_);
    asked_.clear();
    drawn_.clear();
}

void MissingImageRegistry::clearDrawn() {
    std::lock_guard lock(mutex_);
    drawn_.clear();
}

}  // namespace zorlet
