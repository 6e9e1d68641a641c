#include "net/PageMerge.h"

#include "net/RecordRegistry.h"
#include "net/ResponseEnvelope.h"
#include "platform/Log.h"

namespace zorlet {

bool PageMerge::merge(std::string_view body, ZLData& data, const std::string& recordClassName,
                      bool addToHead) {
    auto envelope = ResponseEnvelope::decode(body);
    if (!envelope || !ResponseEnvelope::readsAsSuccess(*envelope)) {
        return false;
    }
    const Json& result = jsonObject(*envelope, "result");
    data.loadPager(jsonObject(result, "pager"));
    const Json& list = jsonArray(result, "list");
    if (list.empty()) {
        return true;
    }
    const auto* convert = RecordRegistry::converterFor(recordClassName);
    if (!convert) {
        log().error("no record kind named {} to convert list elements", recordClassName);
        return true;
    }
    for (const Json& element : list) {
        if (!element.is_object()) {
            continue;
        }
        RecordPtr record = (*convert)(element);
        if (!record) {
            continue;
        }
        std::int64_t identity = record->objIdentity();
        if (addToHead) {
            data.insertObjectAtHead(std::move(record), identity);
        } else {
            data.addObject(std::move(record), identity);
        }
    }
    return true;
}

}  // namespace zorlet
