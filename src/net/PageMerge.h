#pragma once

#include "net/ZLData.h"

#include <string>
#include <string_view>

namespace zorlet {

// Merges one page answer of a paged list into its ZLData: the pager, then
// each element of `list` converted by the record kind `recordClassName`
// (see RecordRegistry), dropping records already shown.
class PageMerge {
public:
    // False when the body is not a successful envelope; the data is then unchanged.
    static bool merge(std::string_view body, ZLData& data, const std::string& recordClassName,
                      bool addToHead);
};

}  // namespace zorlet
