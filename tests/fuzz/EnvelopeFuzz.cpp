// Any bytes as the body of an answer: the envelope is judged, and a page
// answer merged into a list, as the screens do it.
#include "model/RecordConverters.h"
#include "net/PageMerge.h"
#include "net/ResponseEnvelope.h"
#include "platform/Json.h"

#include <cstddef>
#include <cstdint>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool registered = [] {
        zorlet::RecordConverters::registerAll();
        return true;
    }();
    (void)registered;
    std::string_view body(reinterpret_cast<const char*>(data), size);
    if (auto envelope = zorlet::ResponseEnvelope::decode(body)) {
        zorlet::ResponseEnvelope::isSuccess(*envelope);
        zorlet::ResponseEnvelope::readsAsSuccess(*envelope);
        zorlet::ResponseEnvelope::errorText(*envelope);
        zorlet::jsonInt(*envelope, "errorCode");
        zorlet::jsonTextForm((*envelope)["result"]);
    }
    zorlet::ZLData users;
    zorlet::PageMerge::merge(body, users, "User", false);
    zorlet::PageMerge::merge(body, users, "User", true);
    if (users.pager()) {
        users.pager()->nextPage();
    }
    zorlet::ZLData posts;
    zorlet::PageMerge::merge(body, posts, "Post", false);
    return 0;
}
