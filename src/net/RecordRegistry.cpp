#include "net/RecordRegistry.h"

#include <map>
#include <mutex>

namespace zorlet {

namespace {

struct Registry {
    std::mutex mutex;
    std::map<std::string, RecordRegistry::Converter> converters;
};

Registry& registry() {
    static Registry* instance = new Registry();
    return *instance;
}

}  // namespace

void RecordRegistry::registerConverter(const std::string& className, Converter converter) {
    auto& r = registry();
    std::lock_guard lock(r.mutex);
    r.converters[className] = std::move(converter);
}

const RecordRegistry::Converter* RecordRegistry::converterFor(const std::string& className) {
    auto& r = registry();
    std::lock_guard lock(r.mutex);
    auto it = r.converters.find(className);
    // Entries are never removed, so the pointer stays valid.
    return it == r.converters.end() ? nullptr : &it->second;
}

}  // namespace zorlet
