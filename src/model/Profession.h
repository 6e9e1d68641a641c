#pragma once

#include "net/Record.h"
#include "platform/Json.h"

#include <cstdint>
#include <memory>
#include <string>

namespace zorlet {

// A profession. The server sends each as an object of one member whose name
// is the id and whose value is the name, so the id is kept as that text.
class Profession : public Record {
public:
    static constexpr const char* kRecordClassName = "Profession";

    Profession() = default;
    Profession(std::string professionId, std::string name)
        : professionId(std::move(professionId)), name(std::move(name)) {}

    // From `{"12": "教师"}`; with several members the last one in the object's own order counts.
    static std::shared_ptr<Profession> convertFromDictionary(const OrderedJson& dictionary);
    // A Json object has lost its member order (it sorts names), so here "last" is the greatest name;
    // lists are read as OrderedJson for that reason.
    static std::shared_ptr<Profession> convertFromDictionary(const Json& dictionary);

    // The id's integer value; 0 when the id is not a number.
    std::int64_t professionIdValue() const;
    std::int64_t objIdentity() const override { return professionIdValue(); }

    std::string professionId;
    std::string name;
};

using ProfessionPtr = std::shared_ptr<Profession>;

}  // namespace zorlet
