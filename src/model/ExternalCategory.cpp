#include "model/ExternalCategory.h"

namespace zorlet {

std::shared_ptr<ExternalCategory> ExternalCategory::convertFromDictionary(const Json& dictionary) {
    auto category = std::make_shared<ExternalCategory>();
    category->externalCategoryId = jsonInt(dictionary, "id");
    category->externalCategoryName = jsonString(dictionary, "name");
    return category;
}

}  // namespace zorlet
