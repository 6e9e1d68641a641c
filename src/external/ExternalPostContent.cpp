#include "external/ExternalPostContent.h"

#include "platform/UnicodeText.h"

#include <string_view>

namespace zorlet {

namespace {

constexpr std::string_view kSeparator = "，";
constexpr std::string_view kEllipsis = "…";

std::size_t characterEnd(const std::string& text, std::size_t at) {
    std::size_t next = at + 1;
    while (next < text.size() && (static_cast<unsigned char>(text[next]) & 0xC0) == 0x80) {
        ++next;
    }
    return next;
}

}  // namespace

std::string ExternalPostContent::clipped(const std::string& text, std::size_t limit) {
    if (UnicodeText::chineseLength(text) <= limit) {
        return text;
    }
    std::size_t ellipsis = UnicodeText::chineseLength(kEllipsis);
    if (limit < ellipsis) {
        return {};
    }
    std::size_t budget = limit - ellipsis;
    std::size_t used = 0;
    std::size_t end = 0;
    while (end < text.size()) {
        std::size_t next = characterEnd(text, end);
        std::size_t width = UnicodeText::chineseLength(std::string_view(text).substr(end, next - end));
        if (used + width > budget) {
            break;
        }
        used += width;
        end = next;
    }
    return text.substr(0, end) + std::string(kEllipsis);
}

std::string ExternalPostContent::content(const std::string& name, const std::string& comment) {
    if (UnicodeText::trimmed(comment).empty()) {
        return clipped(name, kMaxContentLength);
    }
    std::string tail = std::string(kSeparator) + comment;
    std::size_t tailLength = UnicodeText::chineseLength(tail);
    std::size_t room = tailLength < kMaxContentLength ? kMaxContentLength - tailLength : 0;
    return clipped(name, room) + tail;
}

std::string ExternalPostContent::place(const std::string& address) {
    return clipped(address, kMaxPlaceLength);
}

}  // namespace zorlet
