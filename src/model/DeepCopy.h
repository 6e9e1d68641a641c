#pragma once

#include <memory>
#include <vector>

namespace zorlet {

// A new list whose elements are copies of the elements (one level deep), in
// order. Records are copied through their own `copy()`, so a record that
// shares parts (a Preference's options) keeps sharing them.
template <typename Element>
std::vector<std::shared_ptr<Element>> trueDeepCopy(const std::vector<std::shared_ptr<Element>>& list) {
    std::vector<std::shared_ptr<Element>> copies;
    copies.reserve(list.size());
    for (const auto& element : list) {
        copies.push_back(element ? element->copy() : nullptr);
    }
    return copies;
}

// Values are copied by the list's own copy.
template <typename Value>
std::vector<Value> trueDeepCopy(const std::vector<Value>& list) {
    return list;
}

}  // namespace zorlet
