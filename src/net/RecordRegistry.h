#pragma once

#include "net/Record.h"
#include "platform/Json.h"

#include <functional>
#include <string>

namespace zorlet {

// Converters from one list element to a record, by the record's class name
// ("User", "Idea", ...). Each record kind registers itself; paged lists look
// converters up by the name their screen gives, so this layer never needs to
// know the records.
class RecordRegistry {
public:
    using Converter = std::function<RecordPtr(const Json&)>;

    static void registerConverter(const std::string& className, Converter converter);
    // Nothing when no record kind of that name registered.
    static const Converter* converterFor(const std::string& className);
};

}  // namespace zorlet
