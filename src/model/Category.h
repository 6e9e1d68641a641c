#pragma once

#include "net/Record.h"
#include "platform/Json.h"

#include <cstdint>
#include <memory>
#include <string>

namespace zorlet {

// A category of posts and ideas; `icon` is the stem of its image names ("%@_link", "%@_hover").
class Category : public Record {
public:
    static constexpr const char* kRecordClassName = "Category";

    Category() = default;
    Category(std::int64_t categoryId, std::string name, std::string icon)
        : categoryId(categoryId), name(std::move(name)), icon(std::move(icon)) {}

    static std::shared_ptr<Category> convertFromDictionary(const Json& dictionary) {
        return std::make_shared<Category>(jsonInt(dictionary, "categoryId"), jsonString(dictionary, "name"),
                                          jsonString(dictionary, "icon"));
    }

    std::int64_t objIdentity() const override { return categoryId; }

    std::int64_t categoryId = 0;
    std::string name;
    std::string icon;
};

using CategoryPtr = std::shared_ptr<Category>;

}  // namespace zorlet
