#include "platform/TextMeasureCache.h"

#include <cstring>

namespace zorlet {

namespace {

template <typename T>
void appendBytes(std::string& key, T value) {
    char bytes[sizeof(T)];
    std::memcpy(bytes, &value, sizeof(T));
    key.append(bytes, sizeof(T));
}

}  // namespace

std::string TextMeasureCache::keyFor(std::string_view text, double pointSize, bool bold, double maxWidth,
                                     double maxHeight, int mode, int maxLines) {
    std::string key;
    key.reserve(text.size() + 3 * sizeof(double) + 3 * sizeof(int));
    appendBytes(key, pointSize);
    appendBytes(key, maxWidth);
    appendBytes(key, maxHeight);
    appendBytes(key, static_cast<int>(bold));
    appendBytes(key, mode);
    appendBytes(key, maxLines);
    key.append(text);
    return key;
}

std::optional<TextMeasureCache::Size> TextMeasureCache::find(const std::string& key) {
    auto found = entries_.find(key);
    if (found == entries_.end()) {
        return std::nullopt;
    }
    order_.splice(order_.begin(), order_, found->second.position);
    return found->second.size;
}

void TextMeasureCache::store(std::string key, Size size) {
    if (key.size() > kLongestText) {
        return;
    }
    auto found = entries_.find(key);
    if (found != entries_.end()) {
        found->second.size = size;
        order_.splice(order_.begin(), order_, found->second.position);
        return;
    }
    bytes_ += key.size();
    auto [added, inserted] = entries_.emplace(std::move(key), Entry{size, {}});
    order_.push_front(&added->first);
    added->second.position = order_.begin();
    while (entries_.size() > kMaxEntries || bytes_ > kMaxBytes) {
        evictOldest();
    }
}

void TextMeasureCache::evictOldest() {
    auto oldest = entries_.find(*order_.back());
    bytes_ -= oldest->first.size();
    order_.pop_back();
    entries_.erase(oldest);
}

void TextMeasureCache::clear() {
    entries_.clear();
    order_.clear();
    bytes_ = 0;
}

}  // namespace zorlet
