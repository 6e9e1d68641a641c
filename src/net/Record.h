#pragma once

#include <cstdint>
#include <memory>

namespace zorlet {

// What every record built from server JSON shares: the identity by which a
// paged list recognises the same record again when a page is reloaded or
// extended, so that lists of any record kind can be de-duplicated alike.
class Record {
public:
    virtual ~Record() = default;
    virtual std::int64_t objIdentity() const = 0;
};

using RecordPtr = std::shared_ptr<Record>;

}  // namespace zorlet
