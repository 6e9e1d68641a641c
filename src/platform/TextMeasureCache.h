#pragma once

#include <cstddef>
#include <list>
#include <optional>
#include <string>
#include <unordered_map>

namespace zorlet {

// Recently measured text sizes. Lists re-measure the same texts in the same
// fonts and widths on every reload and scroll, and a Pango layout costs tens
// of microseconds, so answers are kept by everything that decides them.
// Bounded by entries and by the bytes of the texts kept; not thread-safe
// (TextLayout's lock guards it).
class TextMeasureCache {
public:
    struct Size {
        double width = 0;
        double height = 0;
        int lineCount = 0;
    };

    static constexpr std::size_t kMaxEntries = 8192;
    static constexpr std::size_t kMaxBytes = 4 << 20;
    // Longer texts are measured each time: they are rare and would crowd the rest out.
    static constexpr std::size_t kLongestText = 4096;

    static std::string keyFor(std::string_view text, double pointSize, bool bold, double maxWidth,
                              double maxHeight, int mode, int maxLines);

    std::optional<Size> find(const std::string& key);
    void store(std::string key, Size size);
    void clear();
    std::size_t count() const { return entries_.size(); }
    std::size_t bytes() const { return bytes_; }

private:
    // Points at the keys of `entries_`, whose nodes never move.
    using Order = std::list<const std::string*>;
    struct Entry {
        Size size;
        Order::iterator position;
    };

    void evictOldest();

    Order order_;  // most recently used first
    std::unordered_map<std::string, Entry> entries_;
    std::size_t bytes_ = 0;
};

}  // namespace zorlet
