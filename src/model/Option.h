#pragma once

#include "net/Record.h"
#include "platform/Json.h"

#include <cstdint>
#include <memory>
#include <string>

namespace zorlet {

// One choice of a questionnaire question; its value is its position among the question's options.
class Option : public Record {
public:
    static constexpr const char* kRecordClassName = "Option";

    static std::shared_ptr<Option> convertFromDictionary(const Json& dictionary);
    std::shared_ptr<Option> copy() const { return std::make_shared<Option>(*this); }

    std::int64_t objIdentity() const override { return value; }

    std::string name;
    std::int64_t value = 0;
};

using OptionPtr = std::shared_ptr<Option>;

}  // namespace zorlet
