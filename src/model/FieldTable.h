#pragma once

#include "platform/Json.h"

#include <algorithm>
#include <initializer_list>
#include <string_view>
#include <utility>
#include <vector>

namespace zorlet {

// The fields a record reads from a server dictionary, each with its setter.
// apply() walks the table and the dictionary's keys side by side (both in
// key order), so a record of thirty fields costs one pass over the
// dictionary instead of thirty lookups in it. Every setter runs: an absent
// key hands it null, which the lenient readers turn into the empty value.
template <class Record>
class FieldTable {
public:
    using Setter = void (*)(Record&, const Json&);

    FieldTable(std::initializer_list<std::pair<std::string_view, Setter>> fields) : fields_(fields) {
        std::sort(fields_.begin(), fields_.end(),
                  [](const auto& a, const auto& b) { return a.first < b.first; });
    }

    void apply(Record& record, const Json& dictionary) const {
        static const Json null;
        if (!dictionary.is_object()) {
            for (const auto& [key, set] : fields_) {
                set(record, null);
            }
            return;
        }
        const auto& members = dictionary.get_ref<const Json::object_t&>();
        auto member = members.begin();
        for (const auto& [key, set] : fields_) {
            while (member != members.end() && std::string_view(member->first) < key) {
                ++member;
            }
            bool found = member != members.end() && std::string_view(member->first) == key;
            set(record, found ? member->second : null);
        }
    }

private:
    std::vector<std::pair<std::string_view, Setter>> fields_;
};

}  // namespace zorlet
