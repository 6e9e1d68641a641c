#include "sandbox/ConcurrencyLimit.h"

#include <algorithm>

namespace zorlet::sandbox {

ConcurrencyLimit::Permit ConcurrencyLimit::enter() {
    std::unique_lock lock(mutex_);
    freed_.wait(lock, [this] { return inside_ < limit_; });
    ++inside_;
    peak_ = std::max(peak_, inside_);
    return Permit(*this);
}

int ConcurrencyLimit::peak() const {
    std::lock_guard lock(mutex_);
    return peak_;
}

void ConcurrencyLimit::leave() {
    {
        std::lock_guard lock(mutex_);
        --inside_;
    }
    freed_.notify_one();
}

}  // namespace zorlet::sandbox
