#include "model/Option.h"

namespace zorlet {

std::shared_ptr<Option> Option::convertFromDictionary(const Json& dictionary) {
    auto option = std::make_shared<Option>();
    option->name = jsonString(dictionary, "name");
    option->value = jsonInt(dictionary, "value");
    return option;
}

}  // namespace zorlet
