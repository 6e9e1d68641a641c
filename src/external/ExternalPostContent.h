#pragma once

#include <cstddef>
#include <string>

namespace zorlet {

// The texts of a post that shares a place, built so that the server accepts
// them: the service takes a shared place's text up to 300 units (a short name
// alone included) and a place of up to 100 units. A comment is limited on the
// screen; a name too long for what is left is cut with an ellipsis, and so is
// an address too long for a place.
class ExternalPostContent {
public:
    static constexpr std::size_t kMaxCommentLength = 100;
    static constexpr std::size_t kMaxContentLength = 300;
    static constexpr std::size_t kMaxPlaceLength = 100;
    static constexpr const char* kCommentLengthMessage = "请不要超过50字";

    // The name, then "，" and the comment when there is one.
    static std::string content(const std::string& name, const std::string& comment);
    static std::string place(const std::string& address);
    // The longest start of `text` within `limit` units, whole characters only,
    // ending in "…" when something was cut.
    static std::string clipped(const std::string& text, std::size_t limit);
};

}  // namespace zorlet
