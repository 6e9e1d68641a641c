#include "model/Profession.h"

#include <charconv>

namespace zorlet {

namespace {

template <typename JsonType>
std::shared_ptr<Profession> professionFrom(const JsonType& dictionary) {
    auto profession = std::make_shared<Profession>();
    if (!dictionary.is_object() || dictionary.empty()) {
        return profession;
    }
    auto last = std::prev(dictionary.end());
    profession->professionId = last.key();
    if (last->is_string()) {
        profession->name = last->template get<std::string>();
    }
    return profession;
}

}  // namespace

std::shared_ptr<Profession> Profession::convertFromDictionary(const OrderedJson& dictionary) {
    return professionFrom(dictionary);
}

std::shared_ptr<Profession> Profession::convertFromDictionary(const Json& dictionary) {
    return professionFrom(dictionary);
}

std::int64_t Profession::professionIdValue() const {
    std::int64_t value = 0;
    auto [end, error] =
        std::from_chars(professionId.data(), professionId.data() + professionId.size(), value);
    return error == std::errc() ? value : 0;
}

}  // namespace zorlet
