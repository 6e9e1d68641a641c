// Any JSON value as a list element, through every registered record converter.
#include "model/RecordConverters.h"
#include "net/RecordRegistry.h"
#include "platform/Json.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

// The class names the lists give; every one RecordConverters registers.
constexpr const char* kRecordClassNames[] = {
    "User",        "Post",       "UserHome", "Idea", "IdeaUser", "Preference",    "Option",
    "Category",    "Profession", "Province", "City", "Dialog",   "DialogContent", "ExternalCategory",
    "ExternalPost"};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool registered = [] {
        zorlet::RecordConverters::registerAll();
        return true;
    }();
    (void)registered;
    auto value = zorlet::parseJson(std::string_view(reinterpret_cast<const char*>(data), size));
    if (!value) {
        return 0;
    }
    for (const char* name : kRecordClassNames) {
        const auto* convert = zorlet::RecordRegistry::converterFor(name);
        if (!convert) {
            __builtin_trap();  // a record kind lost its registration
        }
        if (auto record = (*convert)(*value)) {
            record->objIdentity();
        }
        if (value->is_array()) {
            for (const auto& element : *value) {
                if (auto record = (*convert)(element)) {
                    record->objIdentity();
                }
            }
        }
    }
    return 0;
}
