#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace zorlet::sandbox {

struct Call;

// Parameters that many calls share, read the same way everywhere.
class CallParams {
public:
    static constexpr std::int64_t highestPage = 100000;

    // The page asked for: 1 when absent, empty or below 1 (the client never asks for less);
    // nothing when it is not a number or absurdly high.
    static std::optional<int> page(const Call& call);
    // A positive id such as a uid or a postId; nothing when absent or malformed.
    static std::optional<std::int64_t> id(const Call& call, const std::string& name);
    // A small non-negative code such as a report type; nothing when absent or malformed.
    static std::optional<std::int64_t> code(const Call& call, const std::string& name);
};

}  // namespace zorlet::sandbox
