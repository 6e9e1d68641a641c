#pragma once

#include <memory>

namespace zorlet {

// A weak pointer to `object` typed as its own class. Screens and views share
// ownership through a base (View, ViewController), so weak_from_this() is
// typed as that base; callbacks that must not keep the object alive hold this
// instead and lock it without casting back down. Empty while nothing owns the
// object yet, as weak_from_this() would be.
template <class T>
std::weak_ptr<T> weakSelf(T* object) {
    if (auto owner = object->weak_from_this().lock()) {
        return std::shared_ptr<T>(std::move(owner), object);
    }
    return {};
}

}  // namespace zorlet
